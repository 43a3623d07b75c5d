// The locale table against real Wine: each locale generated with localedef
// into the test's own folder, Wine's code pages (GetACP, GetOEMCP) are the
// program's.
#include "platform/CodePage.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#ifndef _WIN32
#include <locale.h>
#endif

class tst_CodePageUnderWine : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { QProcess::execute(QStringLiteral("wineserver"), {"-k"}); }
    void sameAsWine_data();
    void sameAsWine();

private:
    QTemporaryDir dir_;
};

namespace {

// Every script of the table, modifiers Wine reads and ignores, names
// Windows has no locale for, an alias (ckb) and Unicode-only locales;
// "name:source" where glibc's source is another.
const QStringList locales =
    QStringLiteral(
        "en_US en_GB de_DE de_DE@euro fr_FR@euro ca_ES@valencia sw_KE eo pl_PL cs_CZ sr_RS@latin "
        "sr_RS sr_RS@cyrillic:sr_RS ru_RU uk_UA be_BY be_BY@latin uz_UZ uz_UZ@cyrillic "
        "tt_RU@iqtelif bg_BG el_GR tr_TR az_AZ he_IL ar_EG ar_IN fa_IR ckb_IQ lt_LT et_EE vi_VN "
        "th_TH ja_JP ko_KR zh_CN zh_TW zh_HK hi_IN kk_KZ ks_IN@devanagari mn_MN@mongolian:mn_MN "
        "am_ET chr_US aa_ER@saaho nan_TW@latin")
        .split(QLatin1Char(' '));

// "sr_RS@latin" with its character set: "sr_RS.UTF-8@latin".
QString utf8Name(const QString& locale)
{
    QString name = locale.section(QLatin1Char(':'), 0, 0);
    const qsizetype at = name.indexOf(QLatin1Char('@'));
    return name.insert(at < 0 ? name.size() : at, QStringLiteral(".UTF-8"));
}

void startProbe(QProcess& wine, const QString& localeName)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"LANG", "LANGUAGE", "LC_CTYPE", "LC_MESSAGES"})
        environment.remove(QLatin1String(variable));
    environment.insert(QStringLiteral("LC_ALL"), localeName);
    wine.setProcessEnvironment(environment);
    wine.start(QStringLiteral("wine"), {qEnvironmentVariable("BRUSHWRIGHT_CODEPAGE_PROBE")});
}

// "1250 852", as the probe prints them.
QString wineChoice(QProcess& wine)
{
    wine.waitForFinished(240000);
    return QString::fromLatin1(wine.readAllStandardOutput()).trimmed();
}

} // namespace

void tst_CodePageUnderWine::initTestCase()
{
#ifdef _WIN32
    QSKIP("Windows chooses its code pages itself");
#endif
    for (const char* program : {"wine", "localedef"})
        QVERIFY2(!QStandardPaths::findExecutable(program).isEmpty(), "scripts/deps.sh installs it");
    QVERIFY(QFile::exists(qEnvironmentVariable("BRUSHWRIGHT_CODEPAGE_PROBE")));
    const QString folder = dir_.filePath(QStringLiteral("locales"));
    QVERIFY(QDir().mkpath(folder));
    qputenv("LOCPATH", QFile::encodeName(folder)); // nothing installed system-wide
    const QString prefix = dir_.filePath(QStringLiteral("prefix"));
    QVERIFY(QDir().mkpath(prefix));
    qputenv("WINEPREFIX", QFile::encodeName(prefix));
    qputenv("WINEDEBUG", "-all");
    // One server for every run, never ending between two; the first run
    // makes the prefix meanwhile.
    QCOMPARE(QProcess::execute(QStringLiteral("wineserver"), {"-p"}), 0);
    QProcess boot;
    startProbe(boot, QStringLiteral("C"));
    QList<QProcess*> running;
    for (const QString& locale : locales) {
        if (running.size() >= qMax(1, QThread::idealThreadCount()))
            running.takeFirst()->waitForFinished(120000);
        running << new QProcess(this);
        running.last()->start(QStringLiteral("localedef"),
                              {"-i", locale.section(QLatin1Char(':'), -1), "-f", "UTF-8",
                               folder + QLatin1Char('/') + utf8Name(locale)});
    }
    for (QProcess* process : running)
        process->waitForFinished(120000);
    QCOMPARE(wineChoice(boot), QStringLiteral("1252 437"));
}

void tst_CodePageUnderWine::sameAsWine_data()
{
    QTest::addColumn<QString>("locale");
    for (const QString& locale : locales)
        QTest::newRow(qPrintable(utf8Name(locale))) << utf8Name(locale);
}

void tst_CodePageUnderWine::sameAsWine()
{
    QFETCH(QString, locale);
#ifndef _WIN32
    // Wine under a locale the C library cannot load misbehaves: no answer.
    locale_t loaded = newlocale(LC_ALL_MASK, locale.toLatin1().constData(), locale_t(nullptr));
    if (!loaded)
        QSKIP("localedef made no locale of this name here");
    freelocale(loaded);
#endif
    const platform::LocaleCodePages pages = platform::localeCodePages(locale);
    QProcess wine;
    startProbe(wine, locale);
    QString choice = wineChoice(wine);
    // Now and then, on a loaded machine, Wine ends the probe before it
    // prints: no answer is no choice, so it is asked once more.
    if (choice.isEmpty()) {
        QProcess again;
        startProbe(again, locale);
        choice = wineChoice(again);
    }
    QCOMPARE(QStringLiteral("%1 %2").arg(pages.ansi).arg(pages.oem), choice);
}

QTEST_GUILESS_MAIN(tst_CodePageUnderWine)
#include "tst_CodePageUnderWine.moc"
