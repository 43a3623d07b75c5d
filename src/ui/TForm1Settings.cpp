// The main window's side of its files: the option set and the program
// settings copied between the controls and the files' line layouts, the
// preset buttons, start-up and shut-down.
#include "batch/LightValues.h"
#include "controls/TProPanel.h"
#include "map/MapName.h"
#include "platform/FirstStart.h"
#include "platform/PathMapping.h"
#include "platform/TextFile.h"
#include "settings/CompilerSettingsFile.h"
#include "settings/OptionSetFile.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsText.h"
#include "ui/HandlerGuard.h"
#include "ui/TForm1.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <algorithm>

using namespace settings;

// Option-set files -----------------------------------------------------------

void TForm1::SaveSettings(const QString& path, const QString& header)
{
    OptionSet set;
    for (int number = 1; number <= 25; ++number)
        set.options[std::size_t(number - 1)] = checkBox(number)->isChecked();
    set.texts = {Edit1->text(), Edit2->text()};
    for (int index = 0; index < light::sliderCount; ++index)
        set.positions[std::size_t(index)] = slider(index)->value();
    set.compilers = {CheckBox30->isChecked(), CheckBox31->isChecked(), CheckBox32->isChecked()};
    textfile::writeLines(path, optionSetLines(header, set));
}

void TForm1::LoadSettings(const QString& path)
{
    const QStringList lines = textfile::readLines(path, optionSetLineCount);

    // Each box takes its line as soon as it is read; a short file stops the
    // block there and leaves the rest as it was.
    for (const GuardedLine& entry : guardedBlock()) {
        if (entry.line >= lines.size()) {
            if (askPatch(path))
                SaveSettings(path, patchedHeader);
            requestEnd();
            break;
        }
        checkBox(entry.checkBox)->setChecked(flagFromLine(lines[entry.line]));
    }

    Edit1->setText(lineAt(lines, firstTextLine));
    Edit2->setText(lineAt(lines, firstTextLine + 1));
    for (int index = 0; index < light::sliderCount; ++index) {
        const qint32 position = positionAt(lines, firstPositionLine + index);
        QScrollBar* bar = slider(index);
        bar->setValue(std::clamp<qint32>(position, bar->minimum(), bar->maximum()));
    }
}

bool TForm1::askPatch(const QString& file)
{
    const QString text = QStringLiteral("Error loading ") + file +
                         QStringLiteral(". This is most likely a version incompatability. Patch ") +
                         file + QLatin1Char('?');
    return dialogs_.message(confirmBoxRequest(text, QMessageBox::Yes)) == QMessageBox::Yes;
}

// Presets --------------------------------------------------------------------

void TForm1::Button2Click()
{
    handle([this] {
        const std::optional<QString> chosen = dialogs_.fileDialog(SaveDialog1);
        if (!chosen)
            return;
        SaveDialog1.fileName = *chosen;
        SaveSettings(*chosen, userHeader);
    });
}

void TForm1::Button1Click()
{
    handle([this] {
        const std::optional<QString> chosen = dialogs_.fileDialog(OpenDialog1);
        if (!chosen)
            return;
        OpenDialog1.fileName = *chosen;
        LoadSettings(*chosen);
    });
}

void TForm1::Button8Click()
{
    handle([this] {
        ProPanel1->hide();
        LoadSettings(programFolder_ + QStringLiteral("default.builtin"));
    });
}

// Start-up and shut-down -----------------------------------------------------

void TForm1::FormCreate(const QString& firstArgument)
{
    handle([this, &firstArgument] {
        compilerSettings_ = readCompilerSettings(compilerSettingsFile());
        applySuite();
        loadProgramSettings();
        lookForGame();
        for (int index = 0; index < light::sliderCount; ++index)
            slider(index)->setValue(0);
        LoadSettings(programFolder_ + (RadioButton1->isChecked()
                                           ? QStringLiteral("default.builtin")
                                           : QStringLiteral("lastused.builtin")));
        SaveDialog1.initialFolder = programFolder_;
        OpenDialog1.initialFolder = programFolder_;
        SaveDialog2.initialFolder = mapsFolder();
        OpenDialog2.initialFolder = mapsFolder();
        selectMapFromCommandLine(firstArgument);
    });
}

void TForm1::loadProgramSettings()
{
    const QString path = programFolder_ + QStringLiteral("settings.builtin");
    const QStringList lines = textfile::readLines(path, settingsLineCount);
    const auto flag = [](QCheckBox* box) {
        return [box](const QString& line) { box->setChecked(flagFromLine(line)); };
    };
    // Each control as soon as its line is read, in the file's order.
    const std::function<void(const QString&)> apply[settingsLineCount] = {
        [this](const QString& line) {
            (loadsDefaults(line) ? RadioButton1 : RadioButton2)->setChecked(true);
        },
        flag(CheckBox26),
        flag(CheckBox27),
        flag(CheckBox28),
        flag(CheckBox29),
        [this](const QString& line) { Edit3->setText(line); },
        [this](const QString& line) {
            Edit4->setText(line);
            gameDirectory = line;
        },
        flag(CheckBox33),
        flag(CheckBox34),
        flag(CheckBox35),
    };
    for (int line = 0; line < settingsLineCount; ++line) {
        if (line >= lines.size()) {
            if (askPatch(path))
                textfile::writeLines(path, settingsLines(programSettings()));
            requestEnd();
            return;
        }
        apply[line](lines[line]);
    }
}

void TForm1::lookForGame()
{
    if (endRequested_)
        return;
    const platform::FolderLook look;
    const std::optional<QString> found = platform::firstStartGame(
        programFolder_, platform::localPath(gameDirectory),
        platform::usualGameFolders(QDir::homePath(), platform::winePrefix()), look);
    if (!found)
        return;
    // Never silently: the configuration panel shows what was put there.
    Edit4->setText(*found);
    ProPanel1->show();
}

ProgramSettings TForm1::programSettings() const
{
    ProgramSettings s;
    s.loadDefaults = RadioButton1->isChecked();
    s.threads = CheckBox26->isChecked();
    s.runGame = CheckBox27->isChecked();
    s.closeOnCompile = CheckBox28->isChecked();
    s.showBatchFile = CheckBox29->isChecked();
    s.threadCount = Edit3->text();
    s.gameDirectory = Edit4->text();
    s.pauseAfter = CheckBox33->isChecked();
    s.pauseBetween = CheckBox34->isChecked();
    s.autoCompile = CheckBox35->isChecked();
    return s;
}

void TForm1::FormClose()
{
    textfile::writeLines(programFolder_ + QStringLiteral("settings.builtin"),
                         settingsLines(programSettings()));
    SaveSettings(programFolder_ + QStringLiteral("lastused.builtin"), userHeader);
    // Its presence marks every later start as not the first: the look for
    // the game runs once.
    if (!QFileInfo::exists(compilerSettingsFile()))
        settings::writeCompilerSettings(compilerSettingsFile(), compilerSettings_);
}

bool TForm1::askCloseWithoutSaving()
{
    const QString text = QStringLiteral("Close Brushwright without saving its settings?");
    return dialogs_.message(confirmBoxRequest(text, QMessageBox::No)) == QMessageBox::Yes;
}

void TForm1::closeEvent(QCloseEvent* event)
{
    handle([this, event] {
        // A folder that cannot be written must not make the program
        // impossible to close: after the error, the user may leave without
        // saving.
        if (!handle([this] { FormClose(); }) && !askCloseWithoutSaving()) {
            event->ignore();
            return;
        }
        event->accept();
        requestEnd();
    });
}
