#include "batch/BatchScript.h"
#include "batch/LightValues.h"
#include "platform/TextFile.h"

#include <QLocale>
#include <QTest>
#include <clocale>
#include <utility>

using Boxes = QList<int>;
using settings::CompilerSettings;
using settings::Suite;
Q_DECLARE_METATYPE(CompilerSettings)

namespace {

const QStringList header = {
    "cls", "@echo off", "echo brushwright v1.02", "echo =============================", "echo.",
};

BatchOptions withBoxes(const Boxes& checked)
{
    BatchOptions o;
    for (const int box : checked)
        o.checkBox[box] = true;
    o.gameDirectory = "C:\\Quake2";
    o.mapName = "m";
    return o;
}

// Boxes whose switch is written when the box is unchecked; checking them
// all gives compiler lines with no switches but the light values.
const Boxes quietBoxes = {1, 3, 6, 7, 8, 11, 12, 18, 25};

// Compiler lines cut to the program name, so the tables show the layout.
const QStringList compilers = {"qbsp3", "qvis3", "qrad3"};

QStringList layout(const QStringList& lines)
{
    QStringList out;
    for (const QString& line : lines)
        out << (compilers.contains(line.section(' ', 0, 0)) ? line.section(' ', 0, 0) : line);
    return out;
}

} // namespace

class TestBatchScript : public QObject {
    Q_OBJECT

private slots:
    void workedExamples_data();
    void workedExamples();
    void pauseAndGameLines_data();
    void pauseAndGameLines();
    void switches_data();
    void switches();
    void gameDirectory_data();
    void gameDirectory();
    void userTextIsEscaped_data();
    void userTextIsEscaped();
    void escapeCommandLine_data();
    void escapeCommandLine();
    void formatDecimal_data();
    void formatDecimal();
    void formatDecimalHundredths();
    void readoutIsTheGeneralForm_data();
    void readoutIsTheGeneralForm();
    void lightUsesPointInAnyLocale_data();
    void lightUsesPointInAnyLocale();
    void suites_data();
    void suites();
};

void TestBatchScript::workedExamples_data()
{
    QTest::addColumn<BatchOptions>("options");
    QTest::addColumn<QByteArray>("expected");

    BatchOptions one =
        withBoxes({30, 31, 32, 26, 1, 3, 6, 7, 8, 11, 15, 10, 18, 21, 23, 25, 27, 33});
    one.edit1 = "240";
    one.edit2 = "4";
    one.edit3 = "2";
    one.light = {1, 0.4, 1, 0.05, 196};
    one.mapName = "base1";
    QTest::newRow("full build then play")
        << one
        << QByteArray("cls\r\n@echo off\r\necho brushwright v1.02\r\n"
                      "echo =============================\r\necho.\r\n"
                      "C:\r\ncd\\Quake2\\baseq2\\maps\r\n"
                      "qbsp3 -threads 2 -chop 240 -notjunc -v base1\r\n"
                      "qvis3 -threads 2 base1\r\n"
                      "qrad3 -threads 2 -bounce 4 -extra -scale 1 -direct 0.4 -entity 1 "
                      "-ambient 0.05 -maxlight 196 base1\r\n"
                      "cd\\Quake2\r\nquake2 +map base1\r\npause\r\n");

    BatchOptions two = withBoxes({30, 31, 34, 27, 36, 33});
    two.gameDirectory = "D:\\Games\\Quake2";
    two.mapName = "dm1";
    QTest::newRow("pause each step, deathmatch")
        << two
        << QByteArray("cls\r\n@echo off\r\necho brushwright v1.02\r\n"
                      "echo =============================\r\necho.\r\n"
                      "D:\r\ncd\\Games\\Quake2\\baseq2\\maps\r\n"
                      "qbsp3 -noprune -nodetail -nomerge -nowater -nocsg -noshare -notjunc dm1\r\n"
                      "pause\r\nqvis3 -nosort dm1\r\npause\r\n"
                      "cd\\Games\\Quake2\r\nquake2 +deathmatch 1 +map dm1\r\npause\r\n");
}

void TestBatchScript::workedExamples()
{
    QFETCH(BatchOptions, options);
    QFETCH(QByteArray, expected);
    QCOMPARE(textfile::joinLines(batch::batchLines(options)), expected);
}

void TestBatchScript::pauseAndGameLines_data()
{
    QTest::addColumn<Boxes>("boxes");
    QTest::addColumn<QStringList>("after");

    const QString cd = "cd\\Quake2";
    const QString play = "quake2 +map m";
    QTest::newRow("nothing") << Boxes{} << QStringList{};
    QTest::newRow("final pause") << Boxes{33} << QStringList{"pause"};
    QTest::newRow("pause each, no compiler") << Boxes{34} << QStringList{};
    QTest::newRow("both pause boxes") << Boxes{33, 34} << QStringList{};
    QTest::newRow("compilers only") << Boxes{30, 31, 32} << QStringList{"qbsp3", "qvis3", "qrad3"};
    QTest::newRow("pause each") << Boxes{30, 31, 32, 34} << QStringList{"qbsp3", "pause", "qvis3",
                                                                        "pause", "qrad3", "pause"};
    QTest::newRow("pause each wins over final")
        << Boxes{30, 32, 33, 34} << QStringList{"qbsp3", "pause", "qrad3", "pause"};
    QTest::newRow("final after compiler") << Boxes{31, 33} << QStringList{"qvis3", "pause"};
    QTest::newRow("game") << Boxes{27} << QStringList{cd, play};
    QTest::newRow("game, final pause") << Boxes{27, 33} << QStringList{cd, play, "pause"};
    QTest::newRow("deathmatch") << Boxes{27, 36} << QStringList{cd, "quake2 +deathmatch 1 +map m"};
    QTest::newRow("deathmatch without game") << Boxes{30, 36, 33} << QStringList{"qbsp3", "pause"};
    QTest::newRow("game after paused compiler")
        << Boxes{30, 27, 34} << QStringList{"qbsp3", "pause", cd, play};
    QTest::newRow("game, both pause boxes")
        << Boxes{32, 27, 33, 34} << QStringList{"qrad3", "pause", cd, play, "pause"};
}

void TestBatchScript::pauseAndGameLines()
{
    QFETCH(Boxes, boxes);
    QFETCH(QStringList, after);
    const QStringList lines = batch::batchLines(withBoxes(boxes));
    QCOMPARE(lines.mid(0, 7), header + QStringList({"C:", "cd\\Quake2\\baseq2\\maps"}));
    QCOMPARE(layout(lines.mid(7)), after);
}

void TestBatchScript::switches_data()
{
    QTest::addColumn<Boxes>("boxes");
    QTest::addColumn<QString>("threads");
    QTest::addColumn<QString>("line");

    const auto row = [](const char* name, const Boxes& toggle, const QString& line,
                        const QString& threads = "3") {
        // Toggling a quiet box unchecks it, so its switch appears.
        Boxes boxes = quietBoxes;
        for (const int box : toggle) {
            if (boxes.contains(box))
                boxes.removeAll(box);
            else
                boxes << box;
        }
        QTest::newRow(name) << boxes << threads << line;
    };
    const Boxes bsp = {30};
    const QString light = " -scale 0 -direct 0 -entity 0 -ambient 0 -maxlight 0 m";
    row("qbsp3 bare", bsp, "qbsp3 m");
    row("qbsp3 every switch", bsp + Boxes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16},
        "qbsp3 -noprune -glview -nodetail -fulldetail -onlyents -nomerge -nowater -nocsg -noweld "
        "-chop 240 -noshare -notjunc -noopt -leaktest -v -verboseentities m");
    // One row per box: which switch it gives, and on which state.
    const std::pair<int, const char*> single[] = {
        {1, "qbsp3 -noprune"},   {2, "qbsp3 -glview"},
        {3, "qbsp3 -nodetail"},  {4, "qbsp3 -fulldetail"},
        {5, "qbsp3 -onlyents"},  {6, "qbsp3 -nomerge"},
        {7, "qbsp3 -nowater"},   {8, "qbsp3 -nocsg"},
        {9, "qbsp3 -noweld"},    {10, "qbsp3 -chop 240"},
        {11, "qbsp3 -noshare"},  {12, "qbsp3 -notjunc"},
        {13, "qbsp3 -noopt"},    {14, "qbsp3 -leaktest"},
        {15, "qbsp3 -v"},        {16, "qbsp3 -verboseentities"},
        {17, "qvis3 -fast"},     {18, "qvis3 -nosort"},
        {19, "qvis3 -v"},        {20, "qrad3 -dump"},
        {21, "qrad3 -bounce 4"}, {22, "qrad3 -v"},
        {23, "qrad3 -extra"},    {24, "qrad3 -glview"},
        {25, "qrad3 -nopvs"},
    };
    for (const auto& [box, text] : single) {
        const int compiler = box <= 16 ? 30 : box <= 19 ? 31 : 32;
        const QString rest = compiler == 32 ? light : QString(" m");
        row(("box " + QByteArray::number(box)).constData(), {compiler, box}, text + rest);
    }
    row("qbsp3 threads first", bsp + Boxes{26, 16, 1},
        "qbsp3 -threads 3 -noprune -verboseentities m");
    row("empty threads value", bsp + Boxes{26}, "qbsp3 -threads  m", "");
    row("threads value with blanks", bsp + Boxes{26}, "qbsp3 -threads  4  m", " 4 ");
    row("qvis3 bare", {31}, "qvis3 m");
    row("qvis3 every switch", {31, 17, 18, 19, 26}, "qvis3 -threads 3 -fast -nosort -v m");
    row("qvis3 ignores qbsp3 boxes", {31, 2, 15}, "qvis3 m");
    row("qrad3 bare", {32}, "qrad3" + light);
    row("qrad3 every switch", {32, 20, 21, 22, 23, 24, 25, 26},
        "qrad3 -threads 3 -dump -bounce 4 -v -extra -glview -nopvs -scale 0 -direct 0 -entity 0 "
        "-ambient 0 -maxlight 0 m");
}

void TestBatchScript::switches()
{
    QFETCH(Boxes, boxes);
    QFETCH(QString, threads);
    QFETCH(QString, line);
    BatchOptions o = withBoxes(boxes);
    o.edit1 = "240";
    o.edit2 = "4";
    o.edit3 = threads;
    const QStringList lines = batch::batchLines(o);
    QCOMPARE(lines.size(), 8);
    QCOMPARE(lines.at(7), line);
}

void TestBatchScript::gameDirectory_data()
{
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("drive");
    QTest::addColumn<QString>("mapsFolder");
    QTest::addColumn<QString>("gameFolder");

    QTest::newRow("folder") << "C:\\Quake2"
                            << "C:"
                            << "cd\\Quake2\\baseq2\\maps"
                            << "cd\\Quake2";
    QTest::newRow("drive root") << "C:\\"
                                << "C:"
                                << "cd\\\\baseq2\\maps"
                                << "cd\\";
    QTest::newRow("drive only") << "E:"
                                << "E:"
                                << "cd\\\\baseq2\\maps"
                                << "cd\\";
    QTest::newRow("trailing backslash") << "C:\\Quake2\\"
                                        << "C:"
                                        << "cd\\Quake2\\\\baseq2\\maps"
                                        << "cd\\Quake2\\";
    QTest::newRow("empty") << ""
                           << ""
                           << "cd\\\\baseq2\\maps"
                           << "cd\\";
    QTest::newRow("no drive") << "Q2"
                              << ""
                              << "cd\\\\baseq2\\maps"
                              << "cd\\";
    QTest::newRow("share") << "\\\\server\\share"
                           << "\\\\server\\share"
                           << "cd\\erver\\share\\baseq2\\maps"
                           << "cd\\erver\\share";
    QTest::newRow("folder on share") << "\\\\server\\share\\q2"
                                     << "\\\\server\\share"
                                     << "cd\\erver\\share\\q2\\baseq2\\maps"
                                     << "cd\\erver\\share\\q2";
    QTest::newRow("server only") << "\\\\server"
                                 << "\\\\server"
                                 << "cd\\erver\\baseq2\\maps"
                                 << "cd\\erver";
    QTest::newRow("blanks") << "D:\\My Games\\Quake 2"
                            << "D:"
                            << "cd\\My Games\\Quake 2\\baseq2\\maps"
                            << "cd\\My Games\\Quake 2";
    QTest::newRow("ampersand") << "C:\\Maps & Mods\\Quake2"
                               << "C:"
                               << "cd\\Maps ^& Mods\\Quake2\\baseq2\\maps"
                               << "cd\\Maps ^& Mods\\Quake2";
    QTest::newRow("percent") << "C:\\100%\\q2"
                             << "C:"
                             << "cd\\100%%\\q2\\baseq2\\maps"
                             << "cd\\100%%\\q2";
    QTest::newRow("escaped drive") << "\\\\a&b\\c"
                                   << "\\\\a^&b\\c"
                                   << "cd\\^&b\\c\\baseq2\\maps"
                                   << "cd\\^&b\\c";
}

void TestBatchScript::gameDirectory()
{
    QFETCH(QString, directory);
    QFETCH(QString, drive);
    QFETCH(QString, mapsFolder);
    QFETCH(QString, gameFolder);
    BatchOptions o = withBoxes({27});
    o.gameDirectory = directory;
    QCOMPARE(batch::batchLines(o),
             header + QStringList({drive, mapsFolder, gameFolder, "quake2 +map m"}));
}

void TestBatchScript::userTextIsEscaped_data()
{
    QTest::addColumn<QString>("map");
    QTest::addColumn<QString>("chop");
    QTest::addColumn<QStringList>("commands");

    QTest::newRow("map name") << "tom&jerry"
                              << "240"
                              << QStringList{"qbsp3 -chop 240 tom^&jerry",
                                             "quake2 +map tom^&jerry"};
    QTest::newRow("chop value") << "m"
                                << "240 & del *.*"
                                << QStringList{"qbsp3 -chop 240 ^& del *.* m", "quake2 +map m"};
    QTest::newRow("variable") << "%PATH%"
                              << "%1"
                              << QStringList{"qbsp3 -chop %%1 %%PATH%%", "quake2 +map %%PATH%%"};
    QTest::newRow("quoted") << "\"a&b%\""
                            << "<x>"
                            << QStringList{"qbsp3 -chop ^<x^> \"a&b%%\"", "quake2 +map \"a&b%%\""};
    // No text may add a line of its own: line breaks become blanks.
    QTest::newRow("line breaks") << "a\r\necho INJECTED"
                                 << "1\n2\r3\u20284"
                                 << QStringList{"qbsp3 -chop 1 2 3 4 a  echo INJECTED",
                                                "quake2 +map a  echo INJECTED"};
    QTest::newRow("blanks kept") << "my  map"
                                 << " 64 "
                                 << QStringList{"qbsp3 -chop  64  my  map", "quake2 +map my  map"};
}

void TestBatchScript::userTextIsEscaped()
{
    QFETCH(QString, map);
    QFETCH(QString, chop);
    QFETCH(QStringList, commands);
    BatchOptions o = withBoxes(quietBoxes + Boxes{30, 10, 27});
    o.mapName = map;
    o.edit1 = chop;
    const QStringList lines = batch::batchLines(o);
    QCOMPARE(lines.size(), 10);
    QCOMPARE((QStringList{lines.at(7), lines.at(9)}), commands);
}

void TestBatchScript::escapeCommandLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("escaped");

    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("plain") << "qvis3 -fast m"
                           << "qvis3 -fast m";
    QTest::newRow("operators") << "a|b<c>d^e&f"
                               << "a^|b^<c^>d^^e^&f";
    QTest::newRow("percent") << "%PATH% 50%"
                             << "%%PATH%% 50%%";
    QTest::newRow("inside quotes") << "\"a&b|c^\""
                                   << "\"a&b|c^\"";
    QTest::newRow("percent in quotes") << "\"%x%\""
                                       << "\"%%x%%\"";
    QTest::newRow("after closing quote") << "\"a\"&b"
                                         << "\"a\"^&b";
    QTest::newRow("two quoted parts") << "\"&\"&\"&\""
                                      << "\"&\"^&\"&\"";
    QTest::newRow("unclosed quote") << "a&\"b&c"
                                    << "a^&\"b&c";
}

void TestBatchScript::escapeCommandLine()
{
    QFETCH(QString, line);
    QFETCH(QString, escaped);
    QCOMPARE(batch::escapeCommandLine(line), escaped);
}

void TestBatchScript::formatDecimal_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("text");

    const QChar point('.');
    QTest::newRow("0") << 0.0 << point << "0";
    QTest::newRow("-0") << -0.0 << point << "0";
    QTest::newRow("0.05") << 0.05 << point << "0.05";
    QTest::newRow("0.4") << 0.4 << point << "0.4";
    QTest::newRow("1") << 1.0 << point << "1";
    QTest::newRow("1.55") << 1.55 << point << "1.55";
    QTest::newRow("2") << 2.0 << point << "2";
    QTest::newRow("196") << 196.0 << point << "196";
    QTest::newRow("255") << 255.0 << point << "255";
    QTest::newRow("10") << 10.0 << point << "10";
    QTest::newRow("comma 0.4") << 0.4 << QChar(',') << "0,4";
    QTest::newRow("comma 1") << 1.0 << QChar(',') << "1";
    QTest::newRow("comma 1234.5") << 1234.5 << QChar(',') << "1234,5";
    QTest::newRow("negative") << -0.25 << point << "-0.25";
    QTest::newRow("negative whole") << -196.0 << point << "-196";
    QTest::newRow("tiny") << 1e-5 << point << "0.00001";
    QTest::newRow("tinier") << 1.5e-10 << point << "0.00000000015";
    QTest::newRow("large") << 1e20 << point << "100000000000000000000";
    QTest::newRow("1e15") << 1e15 << point << "1000000000000000";
    QTest::newRow("15 digits") << 0.1 + 0.2 << point << "0.3";
    QTest::newRow("rounds up a digit") << 9.9999999999999999 << point << "10";
    QTest::newRow("16 digits rounded") << 1234567890.123456 << point << "1234567890.12346";
    QTest::newRow("third") << 1.0 / 3.0 << point << "0.333333333333333";
}

void TestBatchScript::formatDecimal()
{
    QFETCH(double, value);
    QFETCH(QChar, separator);
    QFETCH(QString, text);
    QCOMPARE(batch::formatDecimal(value, separator), text);
}

void TestBatchScript::formatDecimalHundredths()
{
    // Every position of a light slider, 0 to 200 hundredths.
    for (int position = 0; position <= 200; ++position) {
        QString expected = QString::number(position / 100);
        QString cents = QString::number(position % 100).rightJustified(2, '0');
        while (cents.endsWith('0'))
            cents.chop(1);
        if (!cents.isEmpty())
            expected += '.' + cents;
        QCOMPARE(batch::formatDecimal(position / 100.0, '.'), expected);
    }
}

void TestBatchScript::readoutIsTheGeneralForm_data()
{
    QTest::addColumn<QChar>("separator");
    QTest::newRow("point") << QChar('.');
    QTest::newRow("comma") << QChar(',');
}

void TestBatchScript::readoutIsTheGeneralForm()
{
    // The read-outs write whole hundredths themselves; every position of
    // every slider, and values between hundredths, read as the general form.
    QFETCH(QChar, separator);
    for (int slider = 0; slider < 4; ++slider) {
        for (int position = 0; position <= 255; ++position) {
            const double value = light::value(slider, position);
            QCOMPARE(light::readout(slider, value, separator),
                     batch::formatDecimal(value, separator));
        }
    }
    for (const double value : {-0.25, -3.0, 1.0 / 3.0, 0.005, 2.675, 1e-9, 123456789.01})
        QCOMPARE(light::readout(0, value, separator), batch::formatDecimal(value, separator));
}

void TestBatchScript::lightUsesPointInAnyLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("comma") << "de_DE.UTF-8";
    QTest::newRow("two-byte separator") << "ps_AF.UTF-8";
}

void TestBatchScript::lightUsesPointInAnyLocale()
{
    QFETCH(QString, locale);
    // QCoreApplication adopts the user's C locale; the compilers want points.
    const QByteArray previous = std::setlocale(LC_ALL, nullptr);
    const QLocale previousDefault;
    if (!std::setlocale(LC_ALL, locale.toLatin1().constData()))
        QSKIP("locale not installed");
    QLocale::setDefault(QLocale(locale.section('.', 0, 0)));
    BatchOptions o = withBoxes({32, 25});
    o.light = {1, 0.4, 1.55, 0.05, 196};
    const QStringList lines = batch::batchLines(o);
    std::setlocale(LC_ALL, previous.constData());
    QLocale::setDefault(previousDefault);
    QCOMPARE(lines.value(7),
             QString("qrad3 -scale 1 -direct 0.4 -entity 1.55 -ambient 0.05 -maxlight 196 m"));
}

// The lines after the header each suite writes, with every option box
// checked or none: what it lacks is left out, a folder or a game program
// is quoted, a Linux path becomes Wine's Z: form.
void TestBatchScript::suites_data()
{
    QTest::addColumn<CompilerSettings>("compilers");
    QTest::addColumn<bool>("allBoxes");
    QTest::addColumn<QString>("gameDirectory");
    QTest::addColumn<QString>("expected"); // lines separated by |
    QTest::addColumn<bool>("deathmatch");

    const QString light = " -scale 1 -direct 0.4 -entity 1 -ambient 0.05 -maxlight 196 m|";
    QTest::newRow("q2tools, every box")
        << CompilerSettings{Suite::Q2tools, "D:\\q2tools\\", "", {}, true} << true << "C:\\Quake2"
        << "C:|cd\\Quake2\\baseq2\\maps|\"D:\\q2tools\\q2tool\" -bsp -threads 2 -fulldetail "
           "-onlyents -noweld -chop 240 -leaktest -v m|\"D:\\q2tools\\q2tool\" -vis -threads 2 "
           "-fast -v m|\"D:\\q2tools\\q2tool\" -rad -threads 2 -dump -bounce 4 -v -extra" +
               light + "cd\\Quake2|quake2 +map m"
        << false;
    QTest::newRow("ericw, no box, game program with % and &")
        << CompilerSettings{Suite::Ericw, "", "C:\\Games\\Q2 & 100%\\yquake2.exe", {}, true}
        << false << "C:\\Quake2"
        << "C:|cd\\Quake2\\baseq2\\maps|qbsp -q2bsp -threads 2 -omitdetail -nomerge -nochop "
           "-noedgereuse -notjunc m|vis -threads 2 m|light -threads 2 -visapprox none -maxlight "
           "196 m|cd\\Quake2|\"C:\\Games\\Q2 & 100%%\\yquake2.exe\" +map m"
        << false;
    // A mod: the maps folder and the game's folder switch; q2tool told where
    // the mod and baseq2 are, relative to the maps folder.
    CompilerSettings jam{Suite::Q2tools, "", "", {}, true};
    jam.mod = "jam1";
    QTest::newRow("q2tools in a mod")
        << jam << false << "C:\\Quake2"
        << "C:|cd\\Quake2\\jam1\\maps|q2tool -bsp -moddir .. -basedir ../../baseq2 -threads 2 "
           "-noprune -nodetail -nomerge -nowater -nocsg -noshare -notjunc m|q2tool -vis -threads 2 "
           "-nosort m|q2tool -rad -moddir ../../baseq2 -basedir .. -threads 2 -nopvs" +
               light + "cd\\Quake2|quake2 +set game jam1 +map m"
        << false;
    jam.suite = Suite::Ericw;
    jam.mod = "Jam&2";
    QTest::newRow("ericw in a mod, deathmatch")
        << jam << true << "C:\\Quake2"
        << "C:|cd\\Quake2\\Jam^&2\\maps|qbsp -q2bsp -threads 2 -subdivide 240 -leaktest -v "
           "m|vis -threads 2 -fast -v m|light -threads 2 -bounce 4 -v -extra -maxlight 196 "
           "m|cd\\Quake2|quake2 +set game Jam^&2 +deathmatch 1 +map m"
        << true;
#ifndef _WIN32
    QTest::newRow("Linux folders")
        << CompilerSettings{Suite::Id, "/opt/q2 tools", "/usr/games/quake2", {}, true} << false
        << "/home/me/quake2"
        << "Z:|cd\\home\\me\\quake2\\baseq2\\maps|\"Z:\\opt\\q2 tools\\qbsp3\" -threads 2 -noprune "
           "-nodetail -nomerge -nowater -nocsg -noshare -notjunc m|\"Z:\\opt\\q2 tools\\qvis3\" "
           "-threads 2 -nosort m|\"Z:\\opt\\q2 tools\\qrad3\" -threads 2 -nopvs" +
               light + "cd\\home\\me\\quake2|\"Z:\\usr\\games\\quake2\" +map m"
        << false;
#endif
}

void TestBatchScript::suites()
{
    QFETCH(CompilerSettings, compilers);
    QFETCH(bool, allBoxes);
    QFETCH(QString, gameDirectory);
    QFETCH(QString, expected);
    QFETCH(bool, deathmatch);
    BatchOptions o = withBoxes({26, 27, 30, 31, 32});
    o.checkBox[36] = deathmatch;
    for (std::size_t box = 1; allBoxes && box <= 25; ++box)
        o.checkBox[box] = true;
    o.gameDirectory = gameDirectory;
    o.edit1 = "240";
    o.edit2 = "4";
    o.edit3 = "2";
    o.light = {1, 0.4, 1, 0.05, 196};
    QCOMPARE(batch::batchLines(o, compilers).mid(header.size()).join('|'), expected);
    // The step keeps the program unquoted, as a process is started with it.
    QVERIFY(!batch::compileSteps(o, compilers).constFirst().program.contains('"'));
}

QTEST_GUILESS_MAIN(TestBatchScript)
#include "tst_BatchScript.moc"
