#include "settings/SettingsText.h"

namespace settings {

QString flagLine(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

bool flagFromLine(const QString& line)
{
    return line != QLatin1String("0");
}

std::optional<qint32> integerFromText(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    int base = 10;
    if (i < text.size() && (text.at(i) == QLatin1Char('$') || text.at(i).toLower() == 'x')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text.at(i) == QLatin1Char('0') &&
               text.at(i + 1).toLower() == 'x') {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return std::nullopt;

    qint64 magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = QStringView(u"0123456789abcdef").indexOf(text.at(i).toLower());
        if (digit < 0 || digit >= base)
            return std::nullopt;
        magnitude = magnitude * base + digit;
        // Hexadecimal may fill all 32 bits ($FFFFFFFF is -1); decimal may not.
        const qint64 limit = base == 16 ? 0xFFFFFFFFLL : (negative ? 0x80000000LL : 0x7FFFFFFFLL);
        if (magnitude > limit)
            return std::nullopt;
    }
    const qint32 value = base == 16 ? qint32(quint32(magnitude)) : qint32(magnitude);
    return negative ? qint32(0u - quint32(value)) : value;
}

} // namespace settings
