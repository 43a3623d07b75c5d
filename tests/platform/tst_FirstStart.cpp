// Where the settings files live and how they are filled; which game folder
// the first start's look takes, what it passes over, how much it asks.
#include "platform/Failure.h"
#include "platform/FirstStart.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifndef _WIN32
#include <unistd.h>
#endif

using Tree = QList<QPair<QString, QString>>; // path: "dir", "->link", else the file's text

class tst_FirstStart : public QObject {
    Q_OBJECT

private slots:
    void placeAndFill_data();
    void placeAndFill();
    void gameLook_data();
    void gameLook();
};

namespace {

// What a text reader would change: a lone CR, a zero, a byte above 127.
QByteArray bytes(const QString& text)
{
    return text.toLatin1() + QByteArray("\r\0\xe9", 3);
}

void make(const QString& root, const Tree& tree)
{
    for (const auto& [name, kind] : tree) {
        const QString path = QDir::toNativeSeparators(root + name);
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        if (kind == "dir")
            QVERIFY(QDir().mkpath(path));
        else if (kind.startsWith("->"))
            QVERIFY(QFile::link(kind.mid(2), path));
        else
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes(kind)) > 0);
    }
}

// The real look, counted: each question is one stat of a path.
struct CountingLook : platform::FolderLook {
    bool isReadableFolder(const QString& local) const override
    {
        ++questions;
        return FolderLook::isReadableFolder(local);
    }
    mutable int questions = 0;
};

} // namespace

void tst_FirstStart::placeAndFill_data()
{
    // "bin" the program's folder, "user" the user's; the settings files after.
    QTest::addColumn<Tree>("tree");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("error");
    const Tree shipped{{"share/brushwright/settings.builtin", "share"},
                       {"share/brushwright/default.builtin", "share"},
                       {"share/brushwright/lastused.builtin", "share"}};
    QTest::newRow("portable: nothing copied")
        << Tree{{"bin/settings.builtin", "bin"}} << QStringList{"bin", "", ""} << "";
    QTest::newRow("installed: the user's own kept, the rest copied")
        << shipped + Tree{{"user/settings.builtin", "user"}, {"user/lastused.builtin", "user"}}
        << QStringList{"user", "share", "user"} << "";
    QTest::newRow("user's folder cannot be made")
        << shipped + Tree{{"user", "a file"}} << QStringList{}
        << "Cannot create file %1user/settings.builtin";
    QTest::newRow("a shipped file missing")
        << Tree{shipped[0], shipped[2]} << QStringList{}
        << "Cannot open file %1share/brushwright/default.builtin";
}

void tst_FirstStart::placeAndFill()
{
    QFETCH(Tree, tree);
    QFETCH(QStringList, after);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString root = QDir::toNativeSeparators(dir.path()) + QDir::separator();
    make(root, tree + Tree{{"bin", "dir"}});
    const platform::SettingsPlace place = platform::settingsPlace(
        QDir::toNativeSeparators(root + "bin/"), QDir::toNativeSeparators(root + "user/"));
    try {
        platform::fillSettingsFolder(place);
        QVERIFY(error.isEmpty());
    } catch (const Failure& failure) {
        QCOMPARE(failure.text(), QDir::toNativeSeparators(error.arg(root)));
    }
    for (int index = 0; index < after.size(); ++index) {
        QFile file(place.folder + platform::shippedFileNames().at(index));
        QCOMPARE(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(),
                 after[index].isEmpty() ? QByteArray() : bytes(after[index]));
    }
    QVERIFY(QDir(root + "bin").entryList(QDir::Files).size() <= 1); // the probe is gone
}

void tst_FirstStart::gameLook_data()
{
    // Home "h", Wine prefix "p", settings "s"; expected: the location taken.
    QTest::addColumn<Tree>("tree");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nothing") << Tree{} << "";
    QTest::newRow("drive C first, C: form")
        << Tree{{"h/quake2/baseq2", "dir"}, {"p/drive_c/GOG Games/Quake II/baseq2", "dir"}}
        << "C:\\GOG Games\\Quake II";
    QTest::newRow("brushwright.ini written")
        << Tree{{"h/quake2/baseq2", "dir"}, {"s/brushwright.ini", ""}} << "";
    QTest::newRow("stored location holds the game")
        << Tree{{"h/quake2/baseq2", "dir"}, {"stored/baseq2", "dir"}} << "";
    QTest::newRow("no baseq2, baseq2 a file, then Steam")
        << Tree{{"h/quake2/maps", "dir"},
                {"h/.quake2/baseq2", ""},
                {"h/.local/share/Steam/steamapps/common/Quake 2/baseq2", "dir"}}
        << "Z:~\\.local\\share\\Steam\\steamapps\\common\\Quake 2";
    QTest::newRow("link loop, dangling link, then Yamagi") << Tree{{"h/quake2", "->quake2b"},
                                                                   {"h/quake2b", "->quake2"},
                                                                   {"h/.quake2", "->gone"},
                                                                   {"h/.yq2/baseq2", "dir"}}
                                                           << "Z:~\\.yq2";
    QTest::newRow("through a file, linked old Steam folder")
        << Tree{{"h/quake2", ""},
                {"h/games/q2/baseq2", "dir"},
                {"h/.steam/steam/steamapps/common/Quake 2", "->../../../../games/q2"}}
        << "Z:~\\.steam\\steam\\steamapps\\common\\Quake 2";
    QTest::newRow("unreadable, then Q2PRO")
        << Tree{{"h/quake2/baseq2", "dir"}, {"h/.q2pro/baseq2", "dir"}} << "Z:~\\.q2pro";
    // Home named so: no folder's Z: form fits.
    QTest::newRow("a name no code page holds") << Tree{{"\u4e2d/quake2/baseq2", "dir"}} << "";
}

void tst_FirstStart::gameLook()
{
#ifdef _WIN32
    QSKIP("links and the Wine forms are the Linux program's; Windows looks at fixed C: folders");
#else
    QFETCH(Tree, tree);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString root = dir.path() + '/';
    make(root, tree + Tree{{"s", "dir"}});
    if (expected == "Z:~\\.q2pro" && QFile(root + "h/quake2/baseq2").setPermissions({}) &&
        geteuid() == 0)
        expected = "Z:~\\quake2"; // root reads any folder
    const QString home = root + (tree.value(0).first.startsWith("\u4e2d") ? "\u4e2d" : "h");
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

QTEST_GUILESS_MAIN(tst_FirstStart)
#include "tst_FirstStart.moc"
