#pragma once

#include <QString>
#include <QStringList>

// settings.builtin: the program's own settings, ten lines, no header.
//
//   line 0      start-up choice: "0" loads default.builtin, else lastused
//   lines 1-4   CheckBox26 to CheckBox29 (threads, run the game, close on
//               compile, show the batch file), flags
//   line 5      Edit3, the thread count
//   line 6      Edit4, the game directory
//   lines 7-9   CheckBox33 to CheckBox35 (pause after, pause between,
//               autocompile), flags
namespace settings {

enum SettingsLine {
    StartChoiceLine,
    ThreadsLine,
    RunGameLine,
    CloseOnCompileLine,
    ShowBatchFileLine,
    ThreadCountLine,
    GameDirectoryLine,
    PauseAfterLine,
    PauseBetweenLine,
    AutoCompileLine,
    settingsLineCount
};

struct ProgramSettings {
    bool loadDefaults = false; // RadioButton1 "default settings"
    bool threads = false;
    bool runGame = false;
    bool closeOnCompile = false;
    bool showBatchFile = false;
    QString threadCount;
    QString gameDirectory;
    bool pauseAfter = false;
    bool pauseBetween = false;
    bool autoCompile = false;

    bool operator==(const ProgramSettings&) const = default;
};

QStringList settingsLines(const ProgramSettings& settings);

// Only a line that is exactly "0" chooses the default settings.
bool loadsDefaults(const QString& startChoiceLine);

} // namespace settings
