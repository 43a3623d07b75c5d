// The integer conversion of slider lines, held against a plain model of its
// rule: blanks, an optional sign, then decimal digits, or hexadecimal ones
// after "$", "x" or "0x"; nothing after the digits; 32 bits, hexadecimal
// filling all of them.
#include "FuzzSupport.h"
#include "settings/SettingsText.h"

#include <QRegularExpression>
#include <limits>
#include <optional>

namespace {

std::optional<qint32> model(const QString& text)
{
    static const QRegularExpression form(
        QStringLiteral("^ *([+-]?)(?:(?:\\$|[xX]|0[xX])([0-9A-Fa-f]+)|([0-9]+))\\z"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const bool negative = match.captured(1) == QLatin1String("-");
    const bool hex = match.capturedLength(2) > 0;
    QString digits = hex ? match.captured(2) : match.captured(3);
    while (digits.size() > 1 && digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    if (digits.size() > (hex ? 8 : 10))
        return std::nullopt;
    const qint64 magnitude = digits.toLongLong(nullptr, hex ? 16 : 10);
    if (hex)
        return qint32(quint32(negative ? -magnitude : magnitude));
    const qint64 value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}

QString shown(const std::optional<qint32>& value)
{
    return value ? QString::number(*value) : QStringLiteral("no integer");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(fuzz::bytesOf(data, size));
    const std::optional<qint32> value = settings::integerFromText(text);
    const std::optional<qint32> expected = model(text);
    fuzz::check(value == expected, "the conversion follows its rule",
                QStringLiteral("'%1': %2, expected %3").arg(text, shown(value), shown(expected)));
    if (value) {
        fuzz::check(settings::integerFromText(QString::number(*value)) == value,
                    "a position written reads back", QString::number(*value));
    }
    return 0;
}
