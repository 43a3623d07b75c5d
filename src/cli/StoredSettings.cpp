#include "cli/StoredSettings.h"

#include "batch/LightValues.h"
#include "platform/Failure.h"
#include "platform/TextFile.h"
#include "settings/CompilerSettingsFile.h"
#include "settings/OptionSetFile.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsText.h"

#include <QFileInfo>
#include <algorithm>

namespace cli {

namespace {

// The folder's own file, or the one the program was shipped with.
QString settingsFile(const platform::SettingsPlace& place, const QString& name)
{
    const QString own = place.folder + name;
    if (QFileInfo::exists(own) || place.shipped.isEmpty())
        return own;
    return place.shipped + name;
}

QStringList linesOf(const QString& path, int count)
{
    const QStringList lines = textfile::readLines(path, count);
    if (lines.size() < count)
        throw Failure(QStringLiteral("%1 has %2 lines, not %3: open Brushwright once to mend it")
                          .arg(path)
                          .arg(lines.size())
                          .arg(count));
    return lines;
}

} // namespace

StoredSettings readStoredSettings(const platform::SettingsPlace& place)
{
    StoredSettings stored;
    const QString optionSet = settingsFile(place, QStringLiteral("lastused.builtin"));
    stored.optionSet = linesOf(optionSet, settings::optionSetLineCount);
    try {
        for (int index = 0; index < light::sliderCount; ++index)
            settings::positionAt(stored.optionSet, settings::firstPositionLine + index);
    } catch (const Failure& failure) {
        throw Failure(optionSet + QStringLiteral(": ") + failure.text());
    }
    stored.program = linesOf(settingsFile(place, QStringLiteral("settings.builtin")),
                             settings::settingsLineCount);
    stored.compilers =
        settings::readCompilerSettings(place.folder + QStringLiteral("brushwright.ini"));
    return stored;
}

BatchOptions batchOptionsFor(const StoredSettings& stored, const QString& gameDirectory,
                             const QString& mapName)
{
    using namespace settings;
    BatchOptions options;
    for (const GuardedLine& entry : guardedBlock())
        options.checkBox[std::size_t(entry.checkBox)] =
            flagFromLine(stored.optionSet.at(entry.line));
    options.edit1 = lineAt(stored.optionSet, firstTextLine);
    options.edit2 = lineAt(stored.optionSet, firstTextLine + 1);
    for (int index = 0; index < light::sliderCount; ++index) {
        const qint32 position = positionAt(stored.optionSet, firstPositionLine + index);
        options.light[std::size_t(index)] =
            light::value(index, std::clamp<qint32>(position, 0, light::maxima[index]));
    }
    options.checkBox[26] = flagFromLine(stored.program.at(ThreadsLine));
    options.edit3 = stored.program.at(ThreadCountLine);
    options.gameDirectory = gameDirectory;
    options.mapName = mapName;
    return options;
}

} // namespace cli
