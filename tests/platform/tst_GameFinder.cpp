// The first start's look for the game, over a real folder tree: which
// folder it takes, what it passes over, and how many questions it asks.
#include "platform/GameFinder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifndef _WIN32
#include <unistd.h>
#endif

using platform::GameFolder;

class tst_GameFinder : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void findGame_data();
    void findGame();
    void firstStart_data();
    void firstStart();
};

namespace {

// The real look, counted: each question is one stat of a path.
class CountingLook : public platform::FolderLook {
public:
    bool isReadableFolder(const QString& local) const override
    {
        ++questions;
        return FolderLook::isReadableFolder(local);
    }
    mutable int questions = 0;
};

void makeFile(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

// Builds one entry of the tree below root, by a short description:
// "dir" a folder, "file" a file, "->target" a link, "locked" a folder
// nobody but root may read.
void make(const QString& root, const QString& path, const QString& kind)
{
    const QString full = root + '/' + path;
    QDir().mkpath(QFileInfo(full).absolutePath());
    if (kind == "dir" || kind == "locked")
        QVERIFY(QDir().mkpath(full));
    if (kind == "locked")
        QVERIFY(QFile(full).setPermissions({}));
    if (kind == "file")
        makeFile(full);
    if (kind.startsWith("->"))
        QVERIFY(QFile::link(kind.mid(2), full));
}

using Tree = QList<QPair<QString, QString>>;

} // namespace

void tst_GameFinder::initTestCase()
{
#ifdef _WIN32
    QSKIP("the Windows list is fixed drive-C folders; links and the Wine forms are the Linux "
          "program's");
#endif
}

void tst_GameFinder::findGame_data()
{
    // The usual folders below home "h" and Wine prefix "p"; expected is the
    // location taken, "" for none. Every row also has nothing at the folders
    // it does not name.
    QTest::addColumn<Tree>("tree");
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("expected");
    const QString gog = "p/drive_c/GOG Games/Quake II/baseq2";
    QTest::newRow("nothing") << Tree{} << "h"
                             << "";
    QTest::newRow("drive C first") << Tree{{"h/quake2/baseq2", "dir"}, {gog, "dir"}} << "h"
                                   << "C:\\GOG Games\\Quake II";
    QTest::newRow("home quake2, Z: form") << Tree{{"h/quake2/baseq2", "dir"}} << "h"
                                          << "Z:~\\quake2";
    QTest::newRow("no baseq2") << Tree{{"h/quake2/maps", "dir"}} << "h"
                               << "";
    QTest::newRow("baseq2 a file") << Tree{{"h/quake2/baseq2", "file"}} << "h"
                                   << "";
    QTest::newRow("link loop, then Yamagi")
        << Tree{{"h/quake2", "->quake2b"}, {"h/quake2b", "->quake2"}, {"h/.yq2/baseq2", "dir"}}
        << "h"
        << "Z:~\\.yq2";
    QTest::newRow("through a file") << Tree{{"h/.quake2", "file"}} << "h"
                                    << "";
    QTest::newRow("dangling link") << Tree{{"h/quake2", "->gone"}} << "h"
                                   << "";
    QTest::newRow("linked Steam library")
        << Tree{{"h/games/Quake 2/baseq2", "dir"},
                {"h/.local/share/Steam/steamapps/common/Quake 2", "->../../../../../games/Quake 2"}}
        << "h"
        << "Z:~\\.local\\share\\Steam\\steamapps\\common\\Quake 2";
    QTest::newRow("unreadable, then Q2PRO")
        << Tree{{"h/quake2/baseq2", "locked"}, {"h/.q2pro/baseq2", "dir"}} << "h"
        << "Z:~\\.q2pro";
    QTest::newRow("a name no code page holds")
        << Tree{{"h\u4e2d/quake2/baseq2", "dir"}} << "h\u4e2d"
        << "";
    QTest::newRow("old Steam link")
        << Tree{{"h/.steam/steam/steamapps/common/Quake 2/baseq2", "dir"}} << "h"
        << "Z:~\\.steam\\steam\\steamapps\\common\\Quake 2";
}

void tst_GameFinder::findGame()
{
    QFETCH(Tree, tree);
    QFETCH(QString, home);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString root = dir.path();
    for (const auto& [path, kind] : tree)
        make(root, path, kind);
    home = root + '/' + home;
    const QList<GameFolder> candidates = platform::usualGameFolders(home, root + "/p");
    const CountingLook look;
    const std::optional<GameFolder> found = platform::findGame(candidates, look);
    // So that the temporary folder can be removed.
    QFile(home + "/quake2/baseq2")
        .setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    QString location = found ? found->location : QString();
    location.replace(QString(home).replace('/', '\\'), "~");
#ifndef _WIN32
    // Root reads a folder whatever its permissions say.
    if (geteuid() == 0 && QTest::currentDataTag() == QLatin1String("unreadable, then Q2PRO"))
        expected = "Z:~\\quake2";
#endif
    QCOMPARE(location, expected);
    // A few paths, one stat each, nothing searched: well within 50 ms.
    QCOMPARE(candidates.size(), 12);
    QVERIFY2(look.questions <= candidates.size(), qPrintable(QString::number(look.questions)));
}

void tst_GameFinder::firstStart_data()
{
    QTest::addColumn<bool>("iniExists");
    QTest::addColumn<bool>("storedHoldsGame");
    QTest::addColumn<bool>("gameElsewhere");
    QTest::addColumn<bool>("taken");
    QTest::newRow("first start") << false << false << true << true;
    QTest::newRow("brushwright.ini written") << true << false << true << false;
    QTest::newRow("stored location holds the game") << false << true << true << false;
    QTest::newRow("nothing found") << false << false << false << false;
}

void tst_GameFinder::firstStart()
{
    QFETCH(bool, iniExists);
    QFETCH(bool, storedHoldsGame);
    QFETCH(bool, gameElsewhere);
    QFETCH(bool, taken);
    QTemporaryDir dir;
    const QString settings = dir.path() + "/settings/";
    QVERIFY(QDir().mkpath(settings));
    if (iniExists)
        makeFile(settings + "brushwright.ini");
    if (storedHoldsGame)
        QVERIFY(QDir().mkpath(dir.filePath("stored/baseq2")));
    if (gameElsewhere)
        QVERIFY(QDir().mkpath(dir.filePath("found/baseq2")));
    const QList<GameFolder> candidates{{dir.filePath("none"), "C:\\none"},
                                       {dir.filePath("found"), "C:\\found"}};
    const std::optional<QString> location = platform::firstStartGame(
        settings, dir.filePath("stored"), candidates, platform::FolderLook());
    QCOMPARE(location, taken ? std::optional<QString>("C:\\found") : std::nullopt);
}

QTEST_GUILESS_MAIN(tst_GameFinder)
#include "tst_GameFinder.moc"
