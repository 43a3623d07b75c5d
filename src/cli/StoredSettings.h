#pragma once

#include "batch/BatchOptions.h"
#include "platform/FirstStart.h"
#include "settings/CompilerSettings.h"

#include <QStringList>

// What a compile from the command line takes from the settings folder, as
// the main window would have it: the last used option set for the
// switches, the thread count of settings.builtin, and brushwright.ini.
namespace cli {

struct StoredSettings {
    QStringList optionSet; // lastused.builtin's lines
    QStringList program;   // settings.builtin's lines
    settings::CompilerSettings compilers;
};

// The settings folder's files, where it lacks one the shipped copy. Throws
// Failure naming a file that cannot be read or is too short.
StoredSettings readStoredSettings(const platform::SettingsPlace& place);

// The switches as the main window would give them for the map: the game is
// never started.
BatchOptions batchOptionsFor(const StoredSettings& stored, const QString& gameDirectory,
                             const QString& mapName);

} // namespace cli
