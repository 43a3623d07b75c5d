#include "platform/CodePage.h"

#include <QStringList>
#include <algorithm>
#include <optional>

#ifdef _WIN32
#include <windows.h>
#else
#include <QStringDecoder>
#include <QStringEncoder>
#endif

namespace platform {

namespace {

struct LanguageCodePages {
    const char* languages;
    LocaleCodePages pages;
};

// Windows' own code pages for the languages of each script.
const LanguageCodePages languageCodePages[] = {
    {"af ca da de es eu fi fo fr ga gl id is it ms nb nl nn no pt sv sw", {850, 1252}},
    {"bs cs hr hu pl ro sk sl sq", {852, 1250}},
    {"be bg kk ky mk mn ru tt uk", {866, 1251}},
    {"sr", {855, 1251}},
    {"el", {737, 1253}},
    {"az tr", {857, 1254}},
    {"he", {862, 1255}},
    {"ar fa ur", {720, 1256}},
    {"et lt lv", {775, 1257}},
    {"vi", {1258, 1258}},
    {"th", {874, 874}},
    {"ja", {932, 932}},
    {"ko", {949, 949}},
};

const LocaleCodePages usEnglish{437, 1252};

} // namespace

LocaleCodePages localeCodePages(const QString& localeName)
{
    // language[_TERRITORY][.charset][@modifier]
    const QString name = localeName.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    const QString language = name.section(QLatin1Char('_'), 0, 0).toLower();
    const QString territory = name.section(QLatin1Char('_'), 1, 1).toUpper();
    if (language == QLatin1String("en")) {
        static const QStringList europeanOem{"AU", "CA", "GB", "IE", "NZ"};
        return europeanOem.contains(territory) ? LocaleCodePages{850, 1252} : usEnglish;
    }
    if (language == QLatin1String("zh")) {
        static const QStringList traditional{"HK", "MO", "TW"};
        return traditional.contains(territory) ? LocaleCodePages{950, 950}
                                               : LocaleCodePages{936, 936};
    }
    for (const LanguageCodePages& entry : languageCodePages) {
        if (QString::fromLatin1(entry.languages).split(QLatin1Char(' ')).contains(language))
            return entry.pages;
    }
    return usEnglish;
}

#ifdef _WIN32

int codePageNumber(CodePage page)
{
    return int(page == CodePage::Oem ? GetOEMCP() : GetACP());
}

QByteArray encodeText(const QString& text, int codePage)
{
    if (text.isEmpty())
        return {};
    // No "best fit": a fullwidth ampersand must not become an "&" that the
    // batch file's escaping never saw.
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    const auto wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int length = WideCharToMultiByte(UINT(codePage), flags, wide, int(text.size()), nullptr,
                                           0, nullptr, nullptr);
    QByteArray bytes(length, Qt::Uninitialized);
    WideCharToMultiByte(UINT(codePage), flags, wide, int(text.size()), bytes.data(), length,
                        nullptr, nullptr);
    return bytes;
}

QString decodeText(const QByteArray& bytes, int codePage)
{
    if (bytes.isEmpty())
        return {};
    const int length =
        MultiByteToWideChar(UINT(codePage), 0, bytes.constData(), int(bytes.size()), nullptr, 0);
    QString text(length, Qt::Uninitialized);
    MultiByteToWideChar(UINT(codePage), 0, bytes.constData(), int(bytes.size()),
                        reinterpret_cast<wchar_t*>(text.data()), length);
    return text;
}

QString decodeText(const QByteArray& bytes, CodePage page)
{
    return decodeText(bytes, codePageNumber(page));
}

#else

namespace {

QByteArray converterName(int codePage)
{
    return (codePage >= 1250 && codePage <= 1258 ? "windows-" : "cp") +
           QByteArray::number(codePage);
}

QString localeName()
{
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return value;
    }
    return {};
}

bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 128; });
}

// Printable ASCII and the line ends come out of these code pages'
// converters unchanged, so the usual file is read without one: the first
// converter opened loads its tables, at start-up. Not ICU's 949, which has
// the won sign where ASCII has the backslash, nor any page outside the
// locale table, EBCDIC's among them.
bool keepsPlainAscii(int codePage)
{
    static constexpr int pages[] = {437, 720, 737, 775, 850, 852, 855,
                                    857, 862, 866, 874, 932, 936, 950};
    return (codePage >= 1250 && codePage <= 1258) ||
           std::find(std::begin(pages), std::end(pages), codePage) != std::end(pages);
}

bool isPlainAscii(const QByteArray& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) {
        return (c >= 0x20 && c < 0x7f) || c == '\r' || c == '\n' || c == '\t';
    });
}

// The bytes of the text in the code page, or nothing when some character
// would not come back from them.
std::optional<QByteArray> encodeExactly(const QString& text, const QByteArray& name)
{
    QStringEncoder encoder(name.constData());
    QStringDecoder decoder(name.constData());
    if (!encoder.isValid() || !decoder.isValid())
        return isAscii(text) ? std::optional(text.toLatin1()) : std::nullopt;
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError() || QString(decoder.decode(bytes)) != text)
        return std::nullopt;
    return bytes;
}

} // namespace

int codePageNumber(CodePage page)
{
    static const LocaleCodePages pages = localeCodePages(localeName());
    return page == CodePage::Oem ? pages.oem : pages.ansi;
}

QByteArray encodeText(const QString& text, int codePage)
{
    const QByteArray name = converterName(codePage);
    if (const std::optional<QByteArray> bytes = encodeExactly(text, name))
        return *bytes;
    // The code page's own substitute may be a control character: write "?"
    // for a missing character, as Windows does.
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        bytes += encodeExactly(text.mid(i, length), name).value_or(QByteArrayLiteral("?"));
        i += length;
    }
    return bytes;
}

QString decodeText(const QByteArray& bytes, int codePage)
{
    if (keepsPlainAscii(codePage) && isPlainAscii(bytes))
        return QString::fromLatin1(bytes);
    QStringDecoder decoder(converterName(codePage).constData());
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

QString decodeText(const QByteArray& bytes, CodePage page)
{
    if (page == CodePage::Ansi) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString text = utf8.decode(bytes);
        if (!utf8.hasError() && !isAscii(text))
            return text;
    }
    return decodeText(bytes, codePageNumber(page));
}

#endif

QByteArray encodeText(const QString& text, CodePage page)
{
    return encodeText(text, codePageNumber(page));
}

} // namespace platform
