#pragma once

#include "ui/Dialogs.h"

// The real boxes and dialogs.
class QtDialogs final : public Dialogs {
public:
    QMessageBox::StandardButton message(const MessageBoxRequest& request) override;
    std::optional<QString> fileDialog(const FileDialogRequest& request) override;
    int execModal(QDialog& dialog) override;
};

// "batch file|*.bat" becomes "batch file (*.bat)".
QString qtNameFilter(const QString& filter);
