// "compile" on Linux as a mapper uses it: Wine's real command interpreter
// runs the batch file, in a prefix that Wine has not started yet, and the
// stand-in compilers (built for Windows) log how they were called. The
// batch file's folder lines must reach game folders whose names the
// interpreter would otherwise misread: accents (the batch file is read in
// the OEM code page), blanks, "%", "&" and "^".
#include "RecordingDialogs.h"
#include "ui/TForm1.h"

#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class tst_CompileUnderWine : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void compile_data();
    void compile();

private:
    QList<QStringList> runCompile(const QString& game);

    QTemporaryDir dir_;
};

namespace {

// The calls logged by the stand-ins beside themselves: name, then arguments.
QList<QStringList> waitForCalls(const QString& log, int expected)
{
    QList<QStringList> calls;
    const QDeadlineTimer deadline(90000); // the first run makes the prefix
    while (calls.size() < expected && !deadline.hasExpired()) {
        QTest::qWait(200);
        QFile file(log);
        calls.clear();
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& block : file.readAll().split('\n')) {
            if (calls.isEmpty() || (block.isEmpty() && !calls.constLast().isEmpty()))
                calls.append(QStringList());
            if (!block.isEmpty())
                calls.last() << QString::fromUtf8(block);
        }
        while (!calls.isEmpty() && calls.constLast().isEmpty())
            calls.removeLast();
    }
    return calls;
}

// A folder as Wine names it: Z: is the root.
QString windowsPath(QString path)
{
    return "Z:" + path.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

// The command lines of the running Windows programs, for a stall's report.
QString wineProcesses()
{
    QString lines;
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
        QFile file("/proc/" + entry + "/cmdline");
        if (!file.open(QIODevice::ReadOnly))
            continue;
        // A Windows program's command line is as its caller wrote it.
        if (QFileInfo("/proc/" + entry + "/exe").symLinkTarget().contains("wine"))
            lines +=
                entry + ": " + QString::fromLocal8Bit(file.readAll().replace('\0', ' ')) + '\n';
    }
    return lines;
}

} // namespace

void tst_CompileUnderWine::initTestCase()
{
#ifdef _WIN32
    QSKIP("the Windows program's batch files run under Wine in tst_Compile");
#endif
    QVERIFY2(!QStandardPaths::findExecutable("wine").isEmpty(),
             "wine is missing: scripts/deps.sh installs it");
    QVERIFY2(QFile::exists(qEnvironmentVariable("BRUSHWRIGHT_WINDOWS_STANDIN")),
             "no stand-in compiler for Windows: scripts/deps.sh installs mingw-w64");
    qputenv("WINEPREFIX", QFile::encodeName(dir_.filePath("prefix")));
    qputenv("WINEDEBUG", "-all");
}

void tst_CompileUnderWine::cleanupTestCase()
{
    QProcess::execute("wineserver", {"-k"});
}

void tst_CompileUnderWine::compile_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("accents") << QStringLiteral("J\u00f6rg \u00e9/quake2");
    QTest::newRow("blank") << "Quake 2";
    QTest::newRow("%OS%") << "p%OS%x/quake2";
    QTest::newRow("& and ^") << "a&b^c/quake2";
}

// The calls of one compile in a game folder: the compilers', then the game's.
QList<QStringList> tst_CompileUnderWine::runCompile(const QString& game)
{
    const QString maps = game + "/baseq2/maps";
    if (!QDir().mkpath(maps))
        return {};
    const QString standIn = qEnvironmentVariable("BRUSHWRIGHT_WINDOWS_STANDIN");
    for (const char* name : {"qbsp3.exe", "qvis3.exe", "qrad3.exe"})
        QFile::copy(standIn, maps + "/" + QLatin1String(name));
    QFile::copy(standIn, game + "/quake2.exe");

    RecordingDialogs dialogs;
    TForm1 form(dialogs, dir_.path() + "/");
    form.Edit4->setText(windowsPath(game));
    form.mapName = QStringLiteral("base1");
    // The game runs after a folder change of the batch file's own: only a
    // right "cd" line finds it.
    form.CheckBox27->setChecked(true);
    form.Button3->setEnabled(true);
    form.Button3->click();
    if (!dialogs.messageTexts().isEmpty())
        return {dialogs.messageTexts()};
    const QList<QStringList> compilers = waitForCalls(maps + "/calls.log", 3);
    return compilers + waitForCalls(game + "/calls.log", compilers.size() == 3 ? 1 : 0);
}

void tst_CompileUnderWine::compile()
{
    QFETCH(QString, folder);
    const auto expected = [](const QString& game) {
        const auto call = [](const QString& name, const QString& in, const QString& arguments) {
            return QStringList{name, "in " + in} + arguments.split(' ');
        };
        const QString maps = game + "\\baseq2\\maps";
        return QList<QStringList>{
            call("qbsp3", maps,
                 "-noprune -nodetail -nomerge -nowater -nocsg -noshare -notjunc base1"),
            call("qvis3", maps, "-nosort base1"),
            call("qrad3", maps, "-nopvs -scale 0 -direct 0 -entity 0 -ambient 0 -maxlight 0 base1"),
            call("quake2", game, "+map base1"),
        };
    };
    QString game = dir_.filePath(folder);
    QList<QStringList> calls = runCompile(game);
    // Wine has been seen to stall a batch file between two of its programs
    // once in many runs. Calls that are a right beginning, no more, are such
    // a stall, not a wrong line: the compile is tried once more, in a game
    // folder of the same name, after the stalled processes are ended.
    if (calls.size() < 4 && calls == expected(windowsPath(game)).mid(0, calls.size())) {
        qWarning().noquote() << "Wine stalled after" << calls.size() << "calls; its processes:\n"
                             << wineProcesses();
        QProcess::execute("wineserver", {"-k"});
        game = dir_.filePath("again/" + folder);
        calls = runCompile(game);
    }
    QCOMPARE(calls, expected(windowsPath(game)));
}

QTEST_MAIN(tst_CompileUnderWine)
#include "tst_CompileUnderWine.moc"
