#include "platform/Failure.h"

Failure::Failure(QString text) : text_(std::move(text)), bytes_(text_.toLocal8Bit()) {}

Failure Failure::cannotOpen(const QString& path)
{
    return Failure(QStringLiteral("Cannot open file %1").arg(path));
}

Failure Failure::cannotCreate(const QString& path)
{
    return Failure(QStringLiteral("Cannot create file %1").arg(path));
}

Failure Failure::cannotStart(const QString& path)
{
    return Failure(QStringLiteral("Cannot start file %1").arg(path));
}

Failure Failure::listIndexOutOfBounds(int index)
{
    return Failure(QStringLiteral("List index out of bounds (%1)").arg(index));
}

Failure Failure::notAnInteger(const QString& text)
{
    // A box would lay out a line of millions of digits for many seconds.
    constexpr qsizetype kept = 100;
    const QString shown =
        text.size() <= 3 * kept ? text : text.left(kept) + QChar(0x2026) + text.right(kept);
    return Failure(QStringLiteral("'%1' is not a valid integer value").arg(shown));
}

Failure Failure::unwritable(const QString& holder, const QString& character, int codePage)
{
    return Failure(
        QStringLiteral("%1 holds \"%2\", which this system's console code page (%3) cannot write")
            .arg(holder, character, QString::number(codePage)));
}

QString errorBoxText(const QString& text)
{
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        return text + QLatin1Char('.');
    return text;
}
