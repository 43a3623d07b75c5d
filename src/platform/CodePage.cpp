#include "platform/CodePage.h"

#include "platform/Failure.h"

#include <QStringDecoder>
#include <QStringList>
#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#else
#include <QStringEncoder>
#include <locale.h>
#include <map>
#endif

namespace platform {

namespace {

struct LocaleGroup {
    LocaleCodePages pages;
    const char* names;
};

// The names of Wine 8's Windows locales (nls/locale.nls), aliases such as
// "ckb-IQ" included, by their code pages: every name whose locale has an
// identifier of its own and pages other than US English's. Other names,
// known or not, get US English's pages. A Unicode-only locale's pages are
// UTF-8's. Taken from Wine with LocaleNameToLCID and GetLocaleInfo;
// tst_CodePageUnderWine compares the result with Wine's choice.
const LocaleGroup localeGroups[] = {
    {{874, 874}, "th th-TH"},
    {{932, 932}, "ja ja-JP"},
    {{936, 936}, "zh zh-CN zh-Hans zh-Hans-CN zh-Hans-SG zh-SG"},
    {{949, 949}, "ko ko-KR"},
    {{950, 950}, "zh-Hant zh-Hant-HK zh-Hant-MO zh-Hant-TW zh-HK zh-MO zh-TW"},
    {{852, 1250},
     "bs bs-Latn bs-Latn-BA cs cs-CZ hr hr-BA hr-HR hu hu-HU pl pl-PL ro ro-MD ro-RO sk sk-SK "
     "sl sl-SI sq sq-AL sr sr-Latn sr-Latn-BA sr-Latn-ME sr-Latn-RS tk tk-Latn tk-Latn-TM tk-TM"},
    {{855, 1251}, "bs-Cyrl bs-Cyrl-BA sr-Cyrl sr-Cyrl-BA sr-Cyrl-ME sr-Cyrl-RS"},
    {{866, 1251},
     "az-Cyrl az-Cyrl-AZ ba ba-Cyrl ba-Cyrl-RU ba-RU be be-BY bg bg-BG ky ky-Cyrl ky-Cyrl-KG "
     "ky-KG mk mk-MK mn mn-Cyrl mn-Cyrl-MN mn-MN ru ru-MD ru-RU sah sah-Cyrl sah-Cyrl-RU sah-RU "
     "tg tg-Cyrl tg-Cyrl-TJ tg-TJ tt tt-Cyrl tt-Cyrl-RU tt-RU uk uk-UA uz-Cyrl uz-Cyrl-UZ"},
    {{850, 1252},
     "af af-ZA arn arn-CL arn-Latn arn-Latn-CL bin bin-NG br br-FR br-Latn br-Latn-FR ca ca-ES "
     "ca-ES-valencia co co-FR co-Latn co-Latn-FR cy cy-GB da da-DK de de-AT de-CH de-DE de-LI "
     "de-LU dsb dsb-DE en-029 en-AU en-BZ en-CA en-GB en-HK en-ID en-IE en-JM en-NZ en-TT es "
     "es-419 es-AR es-BO es-CL es-CO es-CR es-CU es-DO es-EC es-ES es-GT es-HN es-MX es-NI "
     "es-PA es-PE es-PR es-PY es-SV es-US es-UY es-VE eu eu-ES ff ff-Latn ff-Latn-NG ff-Latn-SN "
     "ff-NG ff-SN fi fi-FI fo fo-FO fr fr-029 fr-BE fr-CA fr-CD fr-CH fr-CI fr-CM fr-FR fr-HT "
     "fr-LU fr-MA fr-MC fr-ML fr-RE fr-SN fuv-NG fy fy-NL ga ga-IE gd gd-GB gd-Latn gl gl-ES gn "
     "gn-PY gsw-FR hsb hsb-DE id id-ID is is-IS it it-CH it-IT kl kl-GL kr kr-Latn kr-Latn-NG "
     "kr-NG lb lb-LU moh moh-CA moh-Latn moh-Latn-CA ms ms-BN ms-Latn ms-Latn-BN ms-Latn-MY "
     "ms-MY nb nb-NO nl nl-BE nl-NL nn nn-NO no nso nso-ZA oc oc-FR oc-Latn oc-Latn-FR pt pt-BR "
     "pt-PT qu qu-BO qu-EC qu-PE quc quc-Latn quc-Latn-GT qut qut-GT quz quz-BO quz-EC quz-Latn "
     "quz-Latn-BO quz-Latn-EC quz-Latn-PE quz-PE rm rm-CH se se-FI se-Latn se-Latn-FI "
     "se-Latn-NO se-Latn-SE se-NO se-SE sma sma-Latn sma-Latn-NO sma-Latn-SE sma-NO sma-SE smj "
     "smj-Latn smj-Latn-NO smj-Latn-SE smj-NO smj-SE smn smn-FI smn-Latn smn-Latn-FI sms sms-FI "
     "sms-Latn sms-Latn-FI sv sv-FI sv-SE tn tn-BW tn-ZA tzm tzm-DZ tzm-Latn tzm-Latn-DZ wo "
     "wo-Latn wo-Latn-SN wo-SN xh xh-ZA zu zu-ZA"},
    {{737, 1253}, "el el-GR"},
    {{857, 1254}, "az az-Latn az-Latn-AZ tr tr-TR uz uz-Latn uz-Latn-UZ"},
    {{862, 1255}, "he he-IL"},
    {{720, 1256},
     "ar ar-AE ar-BH ar-DZ ar-EG ar-IQ ar-JO ar-KW ar-LB ar-LY ar-MA ar-OM ar-QA ar-SA ar-SY "
     "ar-TN ar-YE ckb ckb-IQ fa fa-AF fa-IR ku ku-Arab ku-Arab-IQ pa-Arab pa-Arab-PK prs prs-AF "
     "prs-Arab prs-Arab-AF sd sd-Arab sd-Arab-PK sd-PK ug ug-Arab ug-Arab-CN ug-CN ur ur-IN "
     "ur-PK"},
    {{775, 1257}, "et et-EE lt lt-LT lv lv-LV"},
    {{1258, 1258}, "vi vi-VN"},
    {{65001, 65001},
     "am am-ET as as-IN bn bn-BD bn-IN bo bo-CN bo-Tibt bo-Tibt-CN chr chr-Cher chr-Cher-US "
     "chr-US dv dv-MV dz dz-BT en-AE gu gu-IN hi hi-IN hy hy-AM ii ii-CN ii-Yiii ii-Yiii-CN "
     "iu-Cans iu-Cans-CA ka ka-GE kk kk-Cyrl kk-Cyrl-KZ kk-KZ km km-KH kn kn-IN kok kok-IN "
     "ks-Deva ks-Deva-IN lo lo-LA mi mi-Latn mi-Latn-NZ mi-NZ ml ml-IN mn-Mong mn-Mong-CN "
     "mn-Mong-MN mni mni-Beng mni-Beng-IN mni-IN mr mr-IN mt mt-MT my my-MM ne ne-IN ne-NP om "
     "om-ET or or-IN pa pa-Guru pa-Guru-IN pa-IN ps ps-AF sa sa-Deva sa-Deva-IN sa-IN sd-Deva "
     "sd-Deva-IN si si-LK so so-SO st st-ZA syr syr-SY syr-Syrc syr-Syrc-SY ta ta-IN ta-LK te "
     "te-IN ti ti-ER ti-ET ts ts-ZA ve ve-ZA yi yi-001"},
};

const LocaleCodePages usEnglish{437, 1252};

// Wine's script subtag for a POSIX locale modifier such as "latin".
QString scriptOfModifier(const QString& modifier)
{
    static const char* const scripts[][2] = {
        {"arabic", "Arab"},     {"chakma", "Cakm"},   {"cherokee", "Cher"}, {"cyrillic", "Cyrl"},
        {"devanagari", "Deva"}, {"gurmukhi", "Guru"}, {"javanese", "Java"}, {"latin", "Latn"},
        {"mongolian", "Mong"},  {"syriac", "Syrc"},   {"tifinagh", "Tfng"}, {"tibetan", "Tibt"},
        {"vai", "Vaii"}};
    for (const auto& entry : scripts) {
        if (modifier == QLatin1String(entry[0]))
            return QLatin1String(entry[1]);
    }
    return {};
}

// The Windows locale name that Wine makes of a POSIX one:
// language[_TERRITORY][.charset][@modifier] becomes
// language[-Script][-TERRITORY][-valencia]; other modifiers ("euro") count
// for nothing, and "saaho" names a language Windows has no identifier for.
QString windowsLocaleName(const QString& posixName)
{
    const qsizetype at = posixName.indexOf(QLatin1Char('@'));
    const QString modifier = at < 0 ? QString() : posixName.mid(at + 1);
    const QString name = posixName.left(at).section(QLatin1Char('.'), 0, 0);
    const QString language = name.section(QLatin1Char('_'), 0, 0);
    const QString territory = name.section(QLatin1Char('_'), 1);
    if (modifier == QLatin1String("saaho"))
        return {};
    QStringList parts{language};
    if (const QString script = scriptOfModifier(modifier); !script.isEmpty())
        parts << script;
    if (!territory.isEmpty())
        parts << territory;
    if (modifier == QLatin1String("valencia"))
        parts << modifier;
    return parts.join(QLatin1Char('-'));
}

} // namespace

LocaleCodePages localeCodePages(const QString& localeName)
{
    const QString name = windowsLocaleName(localeName);
    if (name.isEmpty())
        return usEnglish;
    for (const LocaleGroup& group : localeGroups) {
        const QStringList names = QString::fromLatin1(group.names).split(QLatin1Char(' '));
        if (names.contains(name, Qt::CaseInsensitive))
            return group.pages;
    }
    return usEnglish;
}

#ifdef _WIN32

int codePageNumber(CodePage page)
{
    return int(page == CodePage::Oem ? GetOEMCP() : GetACP());
}

std::optional<QByteArray> encodeExactly(const QString& text, int codePage)
{
    if (text.isEmpty())
        return QByteArray();
    // No "best fit": a fullwidth ampersand must not become an "&" that the
    // batch file's escaping never saw. UTF-8 takes neither that flag nor a
    // default character; a lone surrogate is what it cannot write.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    const auto wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int length = WideCharToMultiByte(UINT(codePage), flags, wide, int(text.size()), nullptr,
                                           0, nullptr, utf8 ? nullptr : &usedDefault);
    if (length == 0 || usedDefault)
        return std::nullopt;
    QByteArray bytes(length, Qt::Uninitialized);
    WideCharToMultiByte(UINT(codePage), flags, wide, int(text.size()), bytes.data(), length,
                        nullptr, nullptr);
    return bytes;
}

QByteArray encodeText(const QString& text, int codePage)
{
    if (text.isEmpty())
        return {};
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
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

#else

namespace {

QByteArray converterName(int codePage)
{
    if (codePage == 65001)
        return "UTF-8";
    return (codePage >= 1250 && codePage <= 1258 ? "windows-" : "cp") +
           QByteArray::number(codePage);
}

// The locale Wine takes: the one the C library sets up from the
// environment; where it cannot (a locale not installed), the C locale,
// for which Wine reads LC_ALL as it stands.
QString localeName()
{
    locale_t loaded = newlocale(LC_ALL_MASK, "", locale_t(nullptr));
    if (!loaded)
        return qEnvironmentVariable("LC_ALL");
    freelocale(loaded);
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

// Printable ASCII and the line ends are the same bytes in and out of these
// code pages' converters, so the usual file is read and written without
// one: the first converter opened loads its tables, at start-up. ICU's 932
// keeps the backslash and the tilde, as Windows' does. Not ICU's 949, which
// has the won sign where ASCII has the backslash, nor any page outside the
// locale table, EBCDIC's among them. ICU's IBM pages swap 0x1A, 0x1C and
// 0x7F, so no other control character is taken as itself.
bool keepsPlainAscii(int codePage)
{
    static constexpr int pages[] = {437, 720, 737, 775, 850, 852, 855,  857,
                                    862, 866, 874, 932, 936, 950, 65001};
    return (codePage >= 1250 && codePage <= 1258) ||
           std::find(std::begin(pages), std::end(pages), codePage) != std::end(pages);
}

bool isPlainAscii(char16_t c)
{
    return (c >= 0x20 && c < 0x7f) || c == u'\r' || c == u'\n' || c == u'\t';
}

bool isPlainAscii(const QByteArray& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return isPlainAscii(uchar(c)); });
}

bool isPlainAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return isPlainAscii(c.unicode()); });
}

struct Converters {
    explicit Converters(const QByteArray& name)
        : encoder(name.constData()), decoder(name.constData())
    {
    }
    QStringEncoder encoder;
    QStringDecoder decoder;
};

// The code page's converters, opened once per code page and thread: they
// keep state between calls, and the compile window's thread decodes its
// programs' output while this one reads and writes files. Reset before each
// use, as a fresh pair; one that met an error is closed afterwards, since
// Qt's ICU converters keep reporting it through resetState().
template <typename Convert> auto withConverters(int codePage, Convert convert)
{
    thread_local std::map<int, Converters> opened;
    auto found = opened.find(codePage);
    if (found == opened.end())
        found = opened.try_emplace(codePage, converterName(codePage)).first;
    Converters& converters = found->second;
    converters.encoder.resetState();
    converters.decoder.resetState();
    auto result = convert(converters);
    if (converters.encoder.hasError() || converters.decoder.hasError())
        opened.erase(found);
    return result;
}

std::optional<QByteArray> encodeWith(const QString& text, Converters& converters)
{
    if (!converters.encoder.isValid() || !converters.decoder.isValid())
        return isAscii(text) ? std::optional(text.toLatin1()) : std::nullopt;
    const QByteArray bytes = converters.encoder.encode(text);
    if (converters.encoder.hasError() || QString(converters.decoder.decode(bytes)) != text)
        return std::nullopt;
    return bytes;
}

} // namespace

int codePageNumber(CodePage page)
{
    static const LocaleCodePages pages = localeCodePages(localeName());
    return page == CodePage::Oem ? pages.oem : pages.ansi;
}

std::optional<QByteArray> encodeExactly(const QString& text, int codePage)
{
    if (keepsPlainAscii(codePage) && isPlainAscii(QStringView(text)))
        return text.toLatin1();
    return withConverters(codePage,
                          [&text](Converters& converters) { return encodeWith(text, converters); });
}

QByteArray encodeText(const QString& text, int codePage)
{
    if (const std::optional<QByteArray> bytes = encodeExactly(text, codePage))
        return *bytes;
    // The code page's own substitute may be a control character: write "?"
    // for a missing character, as Windows does.
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        bytes += encodeExactly(text.mid(i, length), codePage).value_or(QByteArrayLiteral("?"));
        i += length;
    }
    return bytes;
}

QString decodeText(const QByteArray& bytes, int codePage)
{
    if (keepsPlainAscii(codePage) && isPlainAscii(bytes))
        return QString::fromLatin1(bytes);
    return withConverters(codePage, [&bytes](Converters& converters) {
        if (!converters.decoder.isValid())
            return QString::fromLatin1(bytes);
        return QString(converters.decoder.decode(bytes));
    });
}

#endif

namespace {

bool isAsciiBytes(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
}

bool isUtf8(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes); // decodes when made a string
    return !utf8.hasError();
}

// Readers take a text that is valid UTF-8 as UTF-8, also where they read
// only its first lines: ANSI bytes read back as written only when the first
// line that is not ASCII is no valid UTF-8.
bool readsBackAsAnsi(const QByteArray& bytes)
{
    for (const QByteArray& line : bytes.split('\n')) {
        if (!isAsciiBytes(line))
            return !isUtf8(line);
    }
    return true;
}

} // namespace

QString firstUnwritable(const QString& text, int codePage)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        if (!encodeExactly(character, codePage))
            return character;
        i += length;
    }
    return {};
}

QByteArray encodeText(const QString& text, CodePage page)
{
    const int codePage = codePageNumber(page);
    const std::optional<QByteArray> bytes = encodeExactly(text, codePage);
    if (page == CodePage::Ansi)
        return bytes && readsBackAsAnsi(*bytes) ? *bytes : text.toUtf8();
    if (!bytes)
        throw Failure::unwritable(QStringLiteral("The batch file"), firstUnwritable(text, codePage),
                                  codePage);
    return *bytes;
}

QString decodeText(const QByteArray& bytes, CodePage page)
{
    if (page == CodePage::Ansi && !isAsciiBytes(bytes) && isUtf8(bytes))
        return QString::fromUtf8(bytes);
    return decodeText(bytes, codePageNumber(page));
}

} // namespace platform
