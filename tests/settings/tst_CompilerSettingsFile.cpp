// brushwright.ini: defaults for what is missing or unknown, every key
// written, other keys kept, a failed write reported.
#include "platform/Failure.h"
#include "settings/CompilerSettingsFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace settings;

Q_DECLARE_METATYPE(CompilerSettings)

class tst_CompilerSettingsFile : public QObject {
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void writeKeepsOtherKeys();
    void writeFailure();
};

void tst_CompilerSettingsFile::read_data()
{
    QTest::addColumn<QByteArray>("text"); // null: no file
    QTest::addColumn<CompilerSettings>("expected");

    QTest::newRow("no file") << QByteArray() << CompilerSettings{};
    QTest::newRow("empty") << QByteArray("") << CompilerSettings{};
    QTest::newRow("every key") << QByteArray(
                                      "[compilers]\nsuite=ericw\nfolder=D:\\\\tools\\\\ericw\n"
                                      "[game]\nprogram=/usr/games/yquake2\n"
                                      "[compile]\nway=window\nstopAtFirstFailure=false\n")
                               << CompilerSettings{Suite::Ericw, "D:\\tools\\ericw",
                                                   "/usr/games/yquake2", CompileWay::Window, false};
    QTest::newRow("unknown values")
        << QByteArray("[compilers]\nsuite=Q2TOOLS\n[compile]\nway=console \n"
                      "stopAtFirstFailure=no\n")
        << CompilerSettings{};
}

void tst_CompilerSettingsFile::read()
{
    QFETCH(QByteArray, text);
    QFETCH(CompilerSettings, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath("brushwright.ini");
    if (!text.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    }
    QCOMPARE(readCompilerSettings(path), expected);
}

void tst_CompilerSettingsFile::writeKeepsOtherKeys()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("brushwright.ini");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[compilers]\nsuite=quake3\n[later]\nkey=kept\n");
    file.close();

    const CompilerSettings s{Suite::Q2tools, "C:\\Q2 & co\\tools", "", CompileWay::Window, true};
    writeCompilerSettings(path, s);
    QCOMPARE(readCompilerSettings(path), s);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    for (const char* line : {"suite=q2tools", "way=window", "stopAtFirstFailure=true", "key=kept"})
        QVERIFY2(written.contains(line), written.constData());
}

void tst_CompilerSettingsFile::writeFailure()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("missing/brushwright.ini");
    try {
        writeCompilerSettings(path, CompilerSettings{});
        QFAIL("no failure");
    } catch (const Failure& failure) {
        QCOMPARE(failure.text(), "Cannot create file " + path);
    }
}

QTEST_GUILESS_MAIN(tst_CompilerSettingsFile)
#include "tst_CompilerSettingsFile.moc"
