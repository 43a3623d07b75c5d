// The textures a map lacks, looked up in a game tree: quake2/baseq2 with
// loose textures and paks (pak0, and pak2 after a gap), a mod quake2/jam1
// with its own loose ones; the .map text read as the look-up needs it.
#include "platform/Failure.h"
#include "report/TextureLookup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

QByteArray le(qint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// A pak holding a 4-byte file for each name, its directory at the end.
QByteArray pak(const QList<QByteArray>& names, qint32 entryLength = 4)
{
    QByteArray data = QByteArray(4 * names.size(), 'x');
    QByteArray directory;
    for (qsizetype i = 0; i < names.size(); ++i)
        directory += names[i].leftJustified(56, '\0') + le(qint32(12 + 4 * i)) + le(entryLength);
    return "PACK" + le(qint32(12 + data.size())) + le(qint32(directory.size())) + data + directory;
}

void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A .wal header whose next animation frame, base/anim2, exists nowhere.
QByteArray walWithFrame()
{
    return QByteArray(32, '\0') + QByteArray(24, '\0') +
           QByteArray("base/anim2").leftJustified(32, '\0') + QByteArray(12, '\0');
}

void makeTree(const QString& root)
{
    write(root + "/baseq2/textures/base/loose.wal", walWithFrame());
    write(root + "/baseq2/pak0.pak", pak({"textures/base/inpak0.wal", "textures/Base/Upper.wal"}));
    write(root + "/baseq2/pak2.pak", pak({"textures/base/inpak2.wal"}));
    write(root + "/jam1/textures/jam/own.wal", "wal");
    write(root + "/jam1/textures/jam/Case.wal", "wal");
}

QByteArray face(const QByteArray& texture, bool valve220)
{
    return "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) " + texture +
           (valve220 ? " [ 1 0 0 0 ] [ 0 1 0 0 ] 0 1 1\n" : " 0 0 0 1 1\n");
}

QByteArray mapOf(const QList<QByteArray>& textures, bool valve220 = false)
{
    QByteArray text = "{\n\"classname\" \"worldspawn\"\n{\n";
    for (const QByteArray& texture : textures)
        text += face(texture, valve220);
    return text + "}\n}\n";
}

} // namespace

class TextureLookupTest : public QObject {
    Q_OBJECT

private slots:
    void missingTextures_data();
    void missingTextures();
};

void TextureLookupTest::missingTextures_data()
{
    QTest::addColumn<QString>("mapFolder");
    QTest::addColumn<QByteArray>("mapText");
    QTest::addColumn<QByteArray>("jamPak"); // jam1/pak3.pak, where not empty
    QTest::addColumn<QStringList>("missing");
    QTest::addColumn<QString>("error");

    const QByteArray all = mapOf({"jam/own", "base/loose", "base/inpak0", "base/inpak2",
                                  "base/upper", "jam/own", "base/gone", "__TB_empty"});
    const QStringList absent{"__TB_empty", "base/gone"};
    QTest::newRow("mod: loose in it and baseq2, paks across a gap, frames not asked for")
        << "jam1/maps" << all << QByteArray() << absent << QString();
    QTest::newRow("baseq2's map: the mod is no game folder of it")
        << "baseq2/maps" << all << QByteArray() << QStringList{"__TB_empty", "base/gone", "jam/own"}
        << QString();
#ifdef Q_OS_WIN
    const QStringList caseMissing;
#else
    const QStringList caseMissing{"jam/case"};
#endif
    QTest::newRow("loose names in the file system's case, pak names in any")
        << "jam1/maps" << mapOf({"jam/case", "BASE/INPAK2"}) << QByteArray() << caseMissing
        << QString();
    QTest::newRow("Valve 220 layout") << "jam1/maps" << mapOf({"jam/own", "base/gone"}, true)
                                      << QByteArray() << QStringList{"base/gone"} << QString();
    QTest::newRow("a pak of the mod")
        << "jam1/maps" << mapOf({"jam/inpak3", "jam/gone"}) << pak({"textures/jam/inpak3.wal"})
        << QStringList{"jam/gone"} << QString();

    QTest::newRow("syntax error")
        << "jam1/maps" << QByteArray("{\n\"classname\" \"worldspawn\"\n{\n( 0 0 0 ) ( 1 0 0 )\n")
        << QByteArray() << QStringList() << "line 5:";
    QTest::newRow("outside a maps folder: the folder above the map's")
        << "jam1/levels" << all << QByteArray() << absent << QString();
    QByteArray badMagic = pak({"textures/jam/a.wal"});
    badMagic[3] = 'Q';
    QTest::newRow("broken pak: magic") << "jam1/maps" << all << badMagic << QStringList()
                                       << "pak3.pak: a broken pak file: it does not start";
    QByteArray pastEnd = pak({"textures/jam/a.wal"});
    pastEnd.chop(1);
    QTest::newRow("broken pak: directory past the end")
        << "jam1/maps" << all << pastEnd << QStringList()
        << "pak3.pak: a broken pak file: its directory";
    QTest::newRow("broken pak: entry past the end")
        << "jam1/maps" << all << pak({"textures/jam/a.wal"}, 1000) << QStringList()
        << "pak3.pak: a broken pak file: entry 0 (\"textures/jam/a.wal\"";
    QTest::newRow("broken pak: name without its zero")
        << "jam1/maps" << all << pak({QByteArray(56, 'n')}) << QStringList()
        << "pak3.pak: a broken pak file: entry 0's name";
}

void TextureLookupTest::missingTextures()
{
    QFETCH(QString, mapFolder);
    QFETCH(QByteArray, mapText);
    QFETCH(QByteArray, jamPak);
    QFETCH(QStringList, missing);
    QFETCH(QString, error);

    QTemporaryDir dir;
    const QString root = dir.path() + "/quake2";
    makeTree(root);
    if (!jamPak.isEmpty())
        write(root + "/jam1/pak3.pak", jamPak);
    const QString mapPath = root + "/" + mapFolder + "/x.map";
    write(mapPath, mapText);

    try {
        QCOMPARE(report::missingTextures(map::readMapFile(mapPath), mapPath), missing);
        QVERIFY2(error.isEmpty(), qPrintable("no error, " + error + " expected"));
    } catch (const Failure& failure) {
        QVERIFY2(!error.isEmpty() && failure.text().contains(error), qPrintable(failure.text()));
    }
}

QTEST_GUILESS_MAIN(TextureLookupTest)
#include "tst_TextureLookup.moc"
