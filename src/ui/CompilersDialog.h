#pragma once

#include "settings/CompilerSettings.h"

#include <QDialog>

class Dialogs;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// "compilers": which suite a compile runs, the folder its programs are in,
// the game program and the mod. It changes nothing itself; its owner takes
// settings() on OK, which refuses a text that cannot name a mod.
class CompilersDialog : public QDialog {
    Q_OBJECT
public:
    // modFolders: the game folder's folders that a map may be compiled in.
    CompilersDialog(Dialogs& dialogs, const settings::CompilerSettings& settings,
                    const QStringList& modFolders = {}, QWidget* parent = nullptr);

    // The settings given, with what the dialog shows put in.
    settings::CompilerSettings settings() const;

    QComboBox* suiteBox;
    QLineEdit* folderEdit;
    QPushButton* folderButton;
    QLineEdit* programEdit;
    QPushButton* programButton;
    QComboBox* wayBox;
    QCheckBox* stopBox;
    QCheckBox* visBox; // "always run vis"
    QComboBox* engineBox;
    QComboBox* modBox; // editable

    void accept() override;

private:
    void browseFolder();
    void browseProgram();

    Dialogs& dialogs_;
    settings::CompilerSettings settings_;
};
