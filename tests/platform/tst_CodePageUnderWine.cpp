// The locale table against real Wine: for each locale, generated with
// localedef into a folder of the test's own, Wine's choice of code pages
// (a Windows program prints GetACP and GetOEMCP) is the program's.
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
    void cleanupTestCase();
    void sameAsWine_data();
    void sameAsWine();

private:
    QTemporaryDir dir_;
};

namespace {

// Every script of the table, each modifier Wine reads and some it does
// not, territories Windows has no locale for, a name Wine takes for another
// (ckb_IQ) and Unicode-only locales. "name:source" where glibc's locale
// source has another name.
const char* const localeList =
    // Latin, Western: 1252 with 437 or 850
    "en_US en_GB de_DE de_DE@euro fr_FR@euro ca_ES@valencia sw_KE eo "
    // Central European: 1250/852
    "pl_PL cs_CZ sr_RS@latin "
    // Cyrillic: 1251 with 855 or 866, and names Windows has no locale for
    "sr_RS sr_RS@cyrillic:sr_RS ru_RU uk_UA be_BY be_BY@latin uz_UZ uz_UZ@cyrillic "
    "tt_RU@iqtelif bg_BG "
    // Greek, Turkish, Hebrew, Arabic, Baltic, Vietnamese, Thai
    "el_GR tr_TR az_AZ he_IL ar_EG ar_IN fa_IR ckb_IQ lt_LT et_EE vi_VN th_TH "
    // East Asian double-byte pages
    "ja_JP ko_KR zh_CN zh_TW zh_HK "
    // Unicode only: UTF-8
    "hi_IN kk_KZ ks_IN@devanagari mn_MN@mongolian:mn_MN am_ET chr_US "
    // Windows has no locale for these
    "aa_ER@saaho nan_TW@latin";

QStringList locales()
{
    return QString::fromLatin1(localeList).split(QLatin1Char(' '));
}

// "sr_RS@latin" as a locale name with its character set: "sr_RS.UTF-8@latin".
QString utf8Name(const QString& name)
{
    const qsizetype at = name.indexOf(QLatin1Char('@'));
    return at < 0 ? name + QStringLiteral(".UTF-8")
                  : name.left(at) + QStringLiteral(".UTF-8") + name.mid(at);
}

// Runs localedef for every locale, as many at once as there are processors.
void generateLocales(const QString& folder)
{
    QList<QProcess*> running;
    const int parallel = qMax(1, QThread::idealThreadCount());
    QObject owner;
    for (const QString& locale : locales()) {
        while (running.size() >= parallel)
            running.takeFirst()->waitForFinished(120000);
        auto* process = new QProcess(&owner);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->setStandardOutputFile(QProcess::nullDevice());
        process->start(
            QStringLiteral("localedef"),
            {QStringLiteral("-i"), locale.section(QLatin1Char(':'), -1), QStringLiteral("-f"),
             QStringLiteral("UTF-8"),
             folder + QLatin1Char('/') + utf8Name(locale.section(QLatin1Char(':'), 0, 0))});
        running << process;
    }
    for (QProcess* process : running)
        process->waitForFinished(120000);
}

// Starts the probe in Wine under the locale.
void startProbe(QProcess& wine, const QString& localeName)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"LANG", "LANGUAGE", "LC_CTYPE", "LC_MESSAGES"})
        environment.remove(QLatin1String(variable));
    environment.insert(QStringLiteral("LC_ALL"), localeName);
    wine.setProcessEnvironment(environment);
    wine.start(QStringLiteral("wine"), {qEnvironmentVariable("BRUSHWRIGHT_CODEPAGE_PROBE")});
}

// Wine's code pages under the locale: "1250 852".
QString wineChoice(const QString& localeName)
{
    QProcess wine;
    startProbe(wine, localeName);
    wine.waitForFinished(120000);
    return QString::fromLatin1(wine.readAllStandardOutput()).trimmed();
}

} // namespace

void tst_CodePageUnderWine::initTestCase()
{
#ifdef _WIN32
    QSKIP("Windows chooses its code pages itself");
#endif
    QVERIFY2(!QStandardPaths::findExecutable("wine").isEmpty(),
             "wine is missing: scripts/deps.sh installs it");
    QVERIFY2(!QStandardPaths::findExecutable("localedef").isEmpty(),
             "localedef is missing: scripts/deps.sh installs it");
    QVERIFY2(QFile::exists(qEnvironmentVariable("BRUSHWRIGHT_CODEPAGE_PROBE")),
             "no code page probe for Windows: scripts/deps.sh installs mingw-w64");
    QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("locales")));
    const QString folder = dir_.filePath(QStringLiteral("locales"));
    // Generated here only: nothing is installed for the whole system.
    qputenv("LOCPATH", QFile::encodeName(folder));
    qputenv("WINEPREFIX", QFile::encodeName(dir_.filePath(QStringLiteral("prefix"))));
    qputenv("WINEDEBUG", "-all");
    // The first run makes the prefix, meanwhile; the server it starts
    // serves the rest.
    QProcess boot;
    startProbe(boot, QStringLiteral("C"));
    generateLocales(folder);
    QVERIFY(boot.waitForFinished(240000));
    QCOMPARE(QString::fromLatin1(boot.readAllStandardOutput()).trimmed(),
             QStringLiteral("1252 437"));
}

void tst_CodePageUnderWine::cleanupTestCase()
{
    QProcess::execute(QStringLiteral("wineserver"), {QStringLiteral("-k")});
}

void tst_CodePageUnderWine::sameAsWine_data()
{
    QTest::addColumn<QString>("locale");
    for (const QString& locale : locales()) {
        const QString name = locale.section(QLatin1Char(':'), 0, 0);
        QTest::newRow(qPrintable(name)) << utf8Name(name);
    }
}

void tst_CodePageUnderWine::sameAsWine()
{
    QFETCH(QString, locale);
#ifndef _WIN32
    // A locale the C library cannot load makes Wine take the C locale (and
    // file names stop being UTF-8): nothing to compare.
    locale_t loaded = newlocale(LC_ALL_MASK, locale.toLatin1().constData(), locale_t(nullptr));
    if (!loaded)
        QSKIP("localedef made no locale of this name here");
    freelocale(loaded);
#endif
    const platform::LocaleCodePages pages = platform::localeCodePages(locale);
    QCOMPARE(QStringLiteral("%1 %2").arg(pages.ansi).arg(pages.oem), wineChoice(locale));
}

QTEST_GUILESS_MAIN(tst_CodePageUnderWine)
#include "tst_CodePageUnderWine.moc"
