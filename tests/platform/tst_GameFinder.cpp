// The first start's look for the game over a real folder tree: which
// folder it takes, what it passes over, how many questions it asks.
#include "platform/GameFinder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifndef _WIN32
#include <unistd.h>
#endif

class tst_GameFinder : public QObject {
    Q_OBJECT

private slots:
    void firstStartGame_data();
    void firstStartGame();
};

namespace {

// The real look, counted: each question is one stat of a path.
struct CountingLook : platform::FolderLook {
    bool isReadableFolder(const QString& local) const override
    {
        ++questions;
        return FolderLook::isReadableFolder(local);
    }
    mutable int questions = 0;
};

using Tree = QList<QPair<QString, QString>>; // path: "dir", "file", "locked" or "->link"

} // namespace

void tst_GameFinder::firstStartGame_data()
{
    // Below the temporary root: home "h", Wine prefix "p", settings folder
    // "s", stored location "stored". Expected: the location taken, "" none.
    QTest::addColumn<Tree>("tree");
    QTest::addColumn<QString>("expected");
    const QString gog = "p/drive_c/GOG Games/Quake II/baseq2";
    QTest::newRow("nothing") << Tree{} << "";
    QTest::newRow("drive C first, C: form")
        << Tree{{"h/quake2/baseq2", "dir"}, {gog, "dir"}} << "C:\\GOG Games\\Quake II";
    QTest::newRow("brushwright.ini written")
        << Tree{{"h/quake2/baseq2", "dir"}, {"s/brushwright.ini", "file"}} << "";
    QTest::newRow("stored location holds the game")
        << Tree{{"h/quake2/baseq2", "dir"}, {"stored/baseq2", "dir"}} << "";
    QTest::newRow("no baseq2, baseq2 a file, then Steam")
        << Tree{{"h/quake2/maps", "dir"},
                {"h/.quake2/baseq2", "file"},
                {"h/.local/share/Steam/steamapps/common/Quake 2/baseq2", "dir"}}
        << "Z:~\\.local\\share\\Steam\\steamapps\\common\\Quake 2";
    QTest::newRow("link loop, dangling link, then Yamagi") << Tree{{"h/quake2", "->quake2b"},
                                                                   {"h/quake2b", "->quake2"},
                                                                   {"h/.quake2", "->gone"},
                                                                   {"h/.yq2/baseq2", "dir"}}
                                                           << "Z:~\\.yq2";
    QTest::newRow("through a file, linked old Steam folder")
        << Tree{{"h/quake2", "file"},
                {"h/games/q2/baseq2", "dir"},
                {"h/.steam/steam/steamapps/common/Quake 2", "->../../../../games/q2"}}
        << "Z:~\\.steam\\steam\\steamapps\\common\\Quake 2";
    // Root reads a folder whatever its permissions say.
    QTest::newRow("unreadable, then Q2PRO")
        << Tree{{"h/quake2/baseq2", "locked"}, {"h/.q2pro/baseq2", "dir"}} << "Z:~\\.q2pro";
    // Home itself named so: its folders' Z: forms cannot be written.
    QTest::newRow("a name no code page holds") << Tree{{"\u4e2d/quake2/baseq2", "dir"}} << "";
}

void tst_GameFinder::firstStartGame()
{
#ifdef _WIN32
    QSKIP("links and the Wine forms are the Linux program's; Windows looks at fixed C: folders");
#else
    QFETCH(Tree, tree);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString root = dir.path() + '/';
    QVERIFY(QDir().mkpath(root + "s"));
    for (const auto& [path, kind] : tree) {
        QVERIFY(QDir().mkpath(QFileInfo(root + path).absolutePath()));
        if (kind == "file")
            QVERIFY(QFile(root + path).open(QIODevice::WriteOnly));
        else if (kind.startsWith("->"))
            QVERIFY(QFile::link(kind.mid(2), root + path));
        else
            QVERIFY(QDir().mkpath(root + path));
        if (kind == "locked")
            QVERIFY(QFile(root + path).setPermissions({}));
    }
    if (geteuid() == 0 && expected == "Z:~\\.q2pro")
        expected = "Z:~\\quake2";
    const QString home =
        root +
        (QByteArray(QTest::currentDataTag()) == "a name no code page holds" ? "\u4e2d" : "h");
    const QList<platform::GameFolder> candidates = platform::usualGameFolders(home, root + "p");
    const CountingLook look;
    std::optional<QString> location =
        platform::firstStartGame(root + "s/", root + "stored", candidates, look);
    QFile(home + "/quake2/baseq2").setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QCOMPARE(location.value_or("").replace(QString(home).replace('/', '\\'), "~"), expected);
    // One stat per folder, a dozen folders, no search: well within 50 ms.
    QVERIFY(look.questions <= 1 + candidates.size() && candidates.size() <= 12);
#endif
}

QTEST_GUILESS_MAIN(tst_GameFinder)
#include "tst_GameFinder.moc"
