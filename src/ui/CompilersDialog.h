#pragma once

#include "settings/CompilerSettings.h"

#include <QDialog>

class Dialogs;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// "compilers": which suite a compile runs, the folder its programs are in
// and the game program. It changes nothing itself; its owner takes
// settings() on OK.
class CompilersDialog : public QDialog {
    Q_OBJECT
public:
    CompilersDialog(Dialogs& dialogs, const settings::CompilerSettings& settings,
                    QWidget* parent = nullptr);

    // The settings given, with what the dialog shows put in.
    settings::CompilerSettings settings() const;

    QComboBox* suiteBox;
    QLineEdit* folderEdit;
    QPushButton* folderButton;
    QLineEdit* programEdit;
    QPushButton* programButton;
    QComboBox* wayBox;
    QCheckBox* stopBox;
    QComboBox* engineBox;

private:
    void browseFolder();
    void browseProgram();

    Dialogs& dialogs_;
    settings::CompilerSettings settings_;
};
