// The main window's side of brushwright.ini: the "compilers..." button,
// the option widgets the chosen suite has no switch for, and the mod whose
// maps folder the map is in.
#include "batch/SuiteTable.h"
#include "map/MapName.h"
#include "platform/FileAge.h"
#include "platform/PathMapping.h"
#include "settings/CompilerSettingsFile.h"
#include "settings/ModFolder.h"
#include "ui/CompilersDialog.h"
#include "ui/TForm1.h"
#include "ui/TForm1Controls.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QScrollBar>

using namespace form1;

namespace {

// The id tools' switch for each slider, for the hint of a slider that the
// chosen suite lacks.
const char* const sliderHints[] = {"qrad3 -scale x", "qrad3 -direct x", "qrad3 -entity x",
                                   "qrad3 -ambient x", "qrad3 -maxlight x"};

} // namespace

QString TForm1::compilerSettingsFile() const
{
    return programFolder_ + QStringLiteral("brushwright.ini");
}

QString TForm1::mapsFolder() const
{
    return map::mapsFolder(gameDirectory, compilerSettings_.mod);
}

QString TForm1::mapFile() const
{
    return map::mapFilePath(gameDirectory, mapName, compilerSettings_.mod);
}

void TForm1::Button11Click()
{
    handle([this] {
        CompilersDialog dialog(dialogs_, compilerSettings_,
                               settings::modFolders(platform::localPath(gameDirectory)), this);
        if (dialogs_.execModal(dialog) != QDialog::Accepted)
            return;
        setCompilerSettings(dialog.settings());
    });
}

void TForm1::setCompilerSettings(const settings::CompilerSettings& settings)
{
    settings::writeCompilerSettings(compilerSettingsFile(), settings);
    const bool modChanged = settings.mod != compilerSettings_.mod;
    compilerSettings_ = settings;
    applySuite();
    if (!modChanged)
        return;
    // The map and the batch file are looked for in the mod's maps folder.
    SaveDialog2.initialFolder = mapsFolder();
    OpenDialog2.initialFolder = mapsFolder();
    if (!mapName.isEmpty())
        mapTimestamp = platform::fileAge(mapFile());
}

void TForm1::applySuite()
{
    const batch::SuiteTable& table = batch::suiteTable(compilerSettings_.suite);
    const QString lacking =
        QStringLiteral(" \u2014 not available with ") + QLatin1String(table.name);
    // Disabled, a box keeps its state: the option-set files stay the same
    // whatever the suite.
    for (int number = 1; number <= 25; ++number) {
        const QString hint = batch::switchHint(table, number);
        checkBox(number)->setEnabled(!hint.isEmpty());
        checkBox(number)->setToolTip(
            hint.isEmpty() ? QLatin1String(checkBoxLayouts[number - 1].hint) + lacking : hint);
    }
    for (auto [edit, box] : {std::pair{Edit1, CheckBox10}, std::pair{Edit2, CheckBox21}}) {
        edit->setEnabled(box->isEnabled());
        edit->setToolTip(box->isEnabled() ? QString() : box->toolTip());
    }
    for (int index = 0; index < 5; ++index) {
        const bool available = table.lightSwitches[std::size_t(index)] != nullptr;
        slider(index)->setEnabled(available);
        slider(index)->setToolTip(available ? QString()
                                            : QLatin1String(sliderHints[index]) + lacking);
    }
    QCheckBox* const runBoxes[] = {CheckBox30, CheckBox31, CheckBox32};
    for (std::size_t step = 0; step < 3; ++step) {
        runBoxes[step]->setToolTip(QStringLiteral("run ") + batch::stepCommand(table.steps[step]) +
                                   QStringLiteral(" when checked"));
    }
}
