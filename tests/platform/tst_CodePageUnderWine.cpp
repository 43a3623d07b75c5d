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
#include <locale.h>

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

struct Locale {
    const char* name;             // language_TERRITORY[@modifier]
    const char* source = nullptr; // glibc's locale source, where it is another
};

// Every script of the table, each modifier Wine reads and some it does
// not, territories Windows has no locale for, and Unicode-only locales.
const Locale locales[] = {
    {"en_US"},
    {"en_GB"},
    {"de_DE"},
    {"de_DE@euro"},
    {"fr_FR@euro"},
    {"ca_ES@valencia"},
    {"pt_BR"},
    {"sw_KE"},
    {"af_ZA"},
    {"eo"},
    {"pl_PL"},
    {"cs_CZ"},
    {"hu_HU"},
    {"sr_RS@latin"},
    {"sr_RS"},
    {"sr_RS@cyrillic", "sr_RS"},
    {"bs_BA"},
    {"ru_RU"},
    {"uk_UA"},
    {"be_BY"},
    {"be_BY@latin"},
    {"uz_UZ"},
    {"uz_UZ@cyrillic"},
    {"tt_RU@iqtelif"},
    {"bg_BG"},
    {"mk_MK"},
    {"el_GR"},
    {"tr_TR"},
    {"az_AZ"},
    {"he_IL"},
    {"ar_EG"},
    {"ar_IN"},
    {"fa_IR"},
    {"ur_PK"},
    {"lt_LT"},
    {"lv_LV"},
    {"et_EE"},
    {"vi_VN"},
    {"th_TH"},
    {"ja_JP"},
    {"ko_KR"},
    {"zh_CN"},
    {"zh_SG"},
    {"zh_TW"},
    {"zh_HK"},
    {"hi_IN"},
    {"kk_KZ"},
    {"ks_IN@devanagari"},
    {"mn_MN@mongolian", "mn_MN"},
    {"am_ET"},
    {"aa_ER@saaho"},
    {"nan_TW@latin"},
};

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
    for (const Locale& locale : locales) {
        while (running.size() >= parallel) {
            running.takeFirst()->waitForFinished(120000);
        }
        auto* process = new QProcess(&owner);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->setStandardOutputFile(QProcess::nullDevice());
        const QString name = QLatin1String(locale.name);
        process->start(QStringLiteral("localedef"),
                       {QStringLiteral("-i"), locale.source ? QLatin1String(locale.source) : name,
                        QStringLiteral("-f"), QStringLiteral("UTF-8"),
                        folder + QLatin1Char('/') + utf8Name(name)});
        running << process;
    }
    for (QProcess* process : running)
        process->waitForFinished(120000);
}

// Wine's code pages under the locale: "1250 852", or the error.
QString wineChoice(const QString& localeName)
{
    QProcess wine;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"LANG", "LANGUAGE", "LC_CTYPE", "LC_MESSAGES"})
        environment.remove(QLatin1String(variable));
    environment.insert(QStringLiteral("LC_ALL"), localeName);
    wine.setProcessEnvironment(environment);
    wine.start(QStringLiteral("wine"), {qEnvironmentVariable("BRUSHWRIGHT_CODEPAGE_PROBE")});
    if (!wine.waitForFinished(120000))
        return QStringLiteral("wine did not end");
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
    generateLocales(folder);
    // The first run makes the prefix; the server it starts serves the rest.
    QVERIFY(!wineChoice(QStringLiteral("C")).isEmpty());
}

void tst_CodePageUnderWine::cleanupTestCase()
{
    QProcess::execute(QStringLiteral("wineserver"), {QStringLiteral("-k")});
}

void tst_CodePageUnderWine::sameAsWine_data()
{
    QTest::addColumn<QString>("locale");
    for (const Locale& locale : locales)
        QTest::newRow(locale.name) << utf8Name(QLatin1String(locale.name));
}

void tst_CodePageUnderWine::sameAsWine()
{
    QFETCH(QString, locale);
    // A locale the C library cannot load makes Wine take the C locale (and
    // file names stop being UTF-8): nothing to compare.
    locale_t loaded = newlocale(LC_ALL_MASK, locale.toLatin1().constData(), locale_t(nullptr));
    if (!loaded)
        QSKIP("localedef made no locale of this name here");
    freelocale(loaded);
    const platform::LocaleCodePages pages = platform::localeCodePages(locale);
    QCOMPARE(QStringLiteral("%1 %2").arg(pages.ansi).arg(pages.oem), wineChoice(locale));
}

QTEST_GUILESS_MAIN(tst_CodePageUnderWine)
#include "tst_CodePageUnderWine.moc"
