// The program's files are read and written in Windows code pages.
#include "platform/CodePage.h"

#include <QStringDecoder>
#include <QTest>

class tst_CodePage : public QObject {
    Q_OBJECT

private slots:
    void localeCodePages_data();
    void localeCodePages();
    void encodeAndDecode_data();
    void encodeAndDecode();
    void earlierUtf8Files();
    void plainAsciiInEveryCodePage_data();
    void plainAsciiInEveryCodePage();
};

Q_DECLARE_METATYPE(platform::LocaleCodePages)

void tst_CodePage::localeCodePages_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<platform::LocaleCodePages>("pages");
    QTest::newRow("C") << "C" << platform::LocaleCodePages{437, 1252};
    QTest::newRow("unset") << "" << platform::LocaleCodePages{437, 1252};
    QTest::newRow("en_US") << "en_US.UTF-8" << platform::LocaleCodePages{437, 1252};
    QTest::newRow("en_GB") << "en_GB.UTF-8" << platform::LocaleCodePages{850, 1252};
    QTest::newRow("de_DE") << "de_DE.UTF-8" << platform::LocaleCodePages{850, 1252};
    QTest::newRow("fr_FR@euro") << "fr_FR@euro" << platform::LocaleCodePages{850, 1252};
    QTest::newRow("pl_PL") << "pl_PL.UTF-8" << platform::LocaleCodePages{852, 1250};
    QTest::newRow("ru_RU") << "ru_RU.UTF-8" << platform::LocaleCodePages{866, 1251};
    QTest::newRow("el_GR") << "el_GR" << platform::LocaleCodePages{737, 1253};
    QTest::newRow("zh_TW") << "zh_TW.UTF-8" << platform::LocaleCodePages{950, 950};
    QTest::newRow("unknown") << "xx_YY" << platform::LocaleCodePages{437, 1252};
}

void tst_CodePage::localeCodePages()
{
    QFETCH(QString, locale);
    QFETCH(platform::LocaleCodePages, pages);
    QCOMPARE(platform::localeCodePages(locale), pages);
}

void tst_CodePage::encodeAndDecode_data()
{
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("decoded");
    const QString jorg = QStringLiteral("J\u00f6rg \u00e9");
    QTest::newRow("ASCII unchanged")
        << 437 << "cd\\Quake2" << QByteArray("cd\\Quake2") << "cd\\Quake2";
    QTest::newRow("1252") << 1252 << jorg << QByteArray("J\xf6rg \xe9") << jorg;
    QTest::newRow("850") << 850 << jorg << QByteArray("J\x94rg \x82") << jorg;
    QTest::newRow("437") << 437 << jorg << QByteArray("J\x94rg \x82") << jorg;
    // What the code page lacks is written "?", as Windows writes it; never
    // a look-alike, which might be "&" or a quote the escaping never saw.
    QTest::newRow("missing") << 437 << QStringLiteral("a\u263ab") << QByteArray("a?b") << "a?b";
    QTest::newRow("no look-alikes")
        << 437 << QStringLiteral("\uff06\u201c\uff05") << QByteArray("???") << "???";
    QTest::newRow("866") << 866 << QStringLiteral("\u041a\u0432\u0430\u043a")
                         << QByteArray("\x8a\xa2\xa0\xaa")
                         << QStringLiteral("\u041a\u0432\u0430\u043a");
}

void tst_CodePage::encodeAndDecode()
{
    QFETCH(int, codePage);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, decoded);
    QCOMPARE(platform::encodeText(text, codePage), bytes);
    QCOMPARE(platform::decodeText(bytes, codePage), decoded);
}

void tst_CodePage::earlierUtf8Files()
{
#ifdef _WIN32
    QSKIP("the Windows program has always written the ANSI code page");
#else
    if (platform::codePageNumber(platform::CodePage::Ansi) != 1252)
        QSKIP("the expected bytes are Windows-1252's, the ANSI code page of Western locales");
    // Files of the earlier Linux build are UTF-8: they still read right,
    // and are written back in the ANSI code page.
    const QString jorg = QStringLiteral("Z:\\home\\J\u00f6rg");
    QCOMPARE(platform::decodeText(jorg.toUtf8(), platform::CodePage::Ansi), jorg);
    const QByteArray ansi = platform::encodeText(jorg, platform::CodePage::Ansi);
    QCOMPARE(ansi, QByteArray("Z:\\home\\J\xf6rg"));
    QCOMPARE(platform::decodeText(ansi, platform::CodePage::Ansi), jorg);
#endif
}

void tst_CodePage::plainAsciiInEveryCodePage_data()
{
    QTest::addColumn<int>("codePage");
    // The locale table's pages, and two EBCDIC pages, which the fuzzer tried.
    for (const int page : {437, 720, 737,  775,  850,  852,  855,  857,  862,  866,  874,  932, 936,
                           949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 500, 37})
        QTest::addRow("%d", page) << page;
}

void tst_CodePage::plainAsciiInEveryCodePage()
{
#ifdef _WIN32
    QSKIP("the Windows program decodes every file with the system's tables");
#else
    // Files of printable ASCII are read without a converter: only right
    // where the code page's converter gives the same text.
    QFETCH(int, codePage);
    QByteArray ascii("\t\r\n");
    for (char c = 0x20; c < 0x7f; ++c)
        ascii += c;
    const QByteArray name =
        (codePage >= 1250 && codePage <= 1258 ? "windows-" : "cp") + QByteArray::number(codePage);
    QStringDecoder converter(name.constData());
    // Text in a code page without a converter (720) is read as Latin-1.
    const QString expected =
        converter.isValid() ? QString(converter.decode(ascii)) : QString::fromLatin1(ascii);
    QCOMPARE(platform::decodeText(ascii, codePage), expected);
#endif
}

QTEST_GUILESS_MAIN(tst_CodePage)
#include "tst_CodePage.moc"
