// The program's files are read and written in Windows code pages.
#include "platform/CodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

class tst_CodePage : public QObject {
    Q_OBJECT

private slots:
    void localeCodePages_data();
    void localeCodePages();
    void encodeAndDecode_data();
    void encodeAndDecode();
    void ansiFiles_data();
    void ansiFiles();
    void plainAsciiInEveryCodePage_data();
    void plainAsciiInEveryCodePage();
    void sameBytesAsTheConverter_data();
    void sameBytesAsTheConverter();
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
    // Serbian in Latin letters; Wine has no Windows locale for "sr-RS".
    QTest::newRow("sr@latin") << "sr_RS.UTF-8@latin" << platform::LocaleCodePages{852, 1250};
    QTest::newRow("sr") << "sr_RS.UTF-8" << platform::LocaleCodePages{437, 1252};
    QTest::newRow("hi_IN, Unicode only")
        << "hi_IN.UTF-8" << platform::LocaleCodePages{65001, 65001};
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
    // A converter that met a missing character still writes the next one.
    QTest::newRow("missing between") << 437 << QStringLiteral("\u00e9\u263a\u00e9")
                                     << QByteArray("\x82?\x82") << QStringLiteral("\u00e9?\u00e9");
    QTest::newRow("no look-alikes")
        << 437 << QStringLiteral("\uff06\u201c\uff05") << QByteArray("???") << "???";
    const QString serbian = QStringLiteral("Quake2 \u0160\u0107\u017e");
    QTest::newRow("1250") << 1250 << serbian << QByteArray("Quake2 \x8a\xe6\x9e") << serbian;
    QTest::newRow("852") << 852 << serbian << QByteArray("Quake2 \xe6\x86\xa7") << serbian;
    QTest::newRow("65001") << 65001 << serbian << serbian.toUtf8() << serbian;
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

void tst_CodePage::ansiFiles_data()
{
    // What the page lacks (ć), or bytes that would read back as UTF-8 (Ã©),
    // and the file is UTF-8: read as such, also from its first line alone.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    const QString serbian = QStringLiteral("Quake2 \u0160\u0107\u017e"), utf8 = "\u00c3\u00a9";
    QTest::newRow("fits") << QStringLiteral("J\u00f6rg") << QByteArray("J\xf6rg");
    QTest::newRow("lacks \u0107") << serbian << serbian.toUtf8();
    QTest::newRow("UTF-8 in line 1") << utf8 + "\r\n\u00e9" << (utf8 + "\r\n\u00e9").toUtf8();
    QTest::newRow("UTF-8 in line 2") << "\u00e9\r\n" + utf8 << QByteArray("\xe9\r\n\xc3\xa9");
}

void tst_CodePage::ansiFiles()
{
    if (platform::codePageNumber(platform::CodePage::Ansi) != 1252)
        QSKIP("the expected bytes are Windows-1252's, the ANSI code page of Western locales");
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(platform::encodeText(text, platform::CodePage::Ansi), bytes);
    QCOMPARE(platform::decodeText(bytes, platform::CodePage::Ansi), text);
    QCOMPARE(platform::decodeText(bytes.left(bytes.indexOf('\n') + 1), platform::CodePage::Ansi),
             text.left(text.indexOf(QLatin1Char('\n')) + 1));
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

void tst_CodePage::sameBytesAsTheConverter_data()
{
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QString>("text");
    QString ascii = QStringLiteral("\t\r\n"), controls = QStringLiteral("\u007f");
    for (char16_t c = 1; c < 0x7f; ++c)
        (c < 0x20 ? controls : ascii) += QChar(c);
    for (const int page :
         {437, 720, 737,  775,  850,  852,  855,  857,  862,  866,  874,  932,  936,
          949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 65001}) {
        QTest::addRow("%d ASCII", page) << page << ascii;
        QTest::addRow("%d controls", page) << page << controls;
        QTest::addRow("%d accented", page) << page << QStringLiteral("C:\\J\u00e9r\u00f4me~1");
    }
}

void tst_CodePage::sameBytesAsTheConverter()
{
#ifdef _WIN32
    QSKIP("the Windows program encodes with the system's tables");
#else
    // Plain ASCII is written without a converter: only right where the
    // code page's converter writes the same bytes.
    QFETCH(int, codePage);
    QFETCH(QString, text);
    const QByteArray name = codePage == 65001
                                ? QByteArray("UTF-8")
                                : (codePage >= 1250 && codePage <= 1258 ? "windows-" : "cp") +
                                      QByteArray::number(codePage);
    QStringEncoder converter(name.constData());
    const QByteArray bytes =
        converter.isValid() ? QByteArray(converter.encode(text)) : text.toLatin1();
    // 720 has none: its text is ASCII or none.
    const bool fits = converter.isValid() ? !converter.hasError() : text.toUtf8() == bytes;
    const std::optional<QByteArray> written = platform::encodeExactly(text, codePage);
    QCOMPARE(written, fits ? std::optional(bytes) : std::nullopt);
    if (written)
        QCOMPARE(platform::decodeText(*written, codePage), text);
#endif
}

QTEST_GUILESS_MAIN(tst_CodePage)
#include "tst_CodePage.moc"
