#include "settings/OptionSetFile.h"

#include "platform/Failure.h"
#include "settings/SettingsText.h"

namespace settings {

QStringList optionSetLines(const QString& header, const OptionSet& set)
{
    QStringList lines{header};
    for (const bool on : set.options)
        lines << flagLine(on);
    for (const QString& text : set.texts)
        lines << text;
    for (const int position : set.positions)
        lines << QString::number(position);
    for (const bool on : set.compilers)
        lines << flagLine(on);
    return lines;
}

const GuardedBlock& guardedBlock()
{
    static const GuardedBlock block = [] {
        GuardedBlock result{};
        for (int number = 1; number <= 25; ++number)
            result[std::size_t(number - 1)] = {number, number};
        for (int i = 0; i < 3; ++i)
            result[std::size_t(25 + i)] = {firstCompilerLine + i, 30 + i};
        return result;
    }();
    return block;
}

QString lineAt(const QStringList& lines, int index)
{
    if (index >= lines.size())
        throw Failure::listIndexOutOfBounds(index);
    return lines[index];
}

qint32 positionAt(const QStringList& lines, int index)
{
    const QString text = lineAt(lines, index);
    const std::optional<qint32> position = integerFromText(text);
    if (!position)
        throw Failure::notAnInteger(text);
    return *position;
}

} // namespace settings
