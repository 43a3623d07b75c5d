#pragma once

#include <QString>
#include <QStringList>

// Where the program keeps settings.builtin, default.builtin and
// lastused.builtin. A program folder that holds them and can be written
// (the build folder, an unzipped Windows program) keeps them beside the
// program, as always; an installed program keeps them in a folder of the
// user's own, filled from the files it was shipped with.
namespace platform {

struct SettingsPlace {
    QString folder;  // ends in a folder separator
    QString shipped; // where missing files are copied from; empty: none are
    bool operator==(const SettingsPlace&) const = default;
};

// The files a settings folder holds from the start.
const QStringList& shippedFileNames();

// The place for a program in programFolder and a user whose own folder is
// userFolder (both ending in a separator). The shipped files are the
// program folder's where it holds settings.builtin (a copy that cannot be
// written), else those of the installed data folder, ../share/brushwright.
SettingsPlace settingsPlace(const QString& programFolder, const QString& userFolder);

// The place of the running program: the user's folder is
// QStandardPaths::AppConfigLocation, after the application name is set.
SettingsPlace settingsPlace();

// Copies each shipped file that the folder lacks, the same bytes, through
// the program's writer. Throws Failure: "Cannot open file" for a shipped
// file that cannot be read, "Cannot create file" for a copy that cannot be
// written.
void fillSettingsFolder(const SettingsPlace& place);

} // namespace platform
