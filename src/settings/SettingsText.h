#pragma once

#include <QString>
#include <optional>

namespace settings {

// Flags are written "1" and "0"; on reading only a line that is exactly "0"
// means off.
QString flagLine(bool on);
bool flagFromLine(const QString& line);

// A signed 32-bit integer: blanks before it, an optional sign, then decimal
// digits, or hexadecimal digits after "$", "x" or "0x". Nothing may follow
// the digits. Nothing when the text is no such integer.
std::optional<qint32> integerFromText(const QString& text);

} // namespace settings
