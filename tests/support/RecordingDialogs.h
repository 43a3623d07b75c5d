#pragma once

#include "ui/Dialogs.h"

#include <QList>
#include <deque>
#include <functional>

// Answers the program's boxes and dialogs from queues and keeps what each
// would have shown. An unexpected box fails the test through its record.
class RecordingDialogs final : public Dialogs {
public:
    QMessageBox::StandardButton message(const MessageBoxRequest& request) override;
    std::optional<QString> fileDialog(const FileDialogRequest& request) override;
    int execModal(QDialog& dialog) override;

    std::deque<QMessageBox::StandardButton> messageAnswers;
    // A null string answers as a cancelled dialog.
    std::deque<QString> fileAnswers;
    std::deque<std::function<int(QDialog&)>> modalAnswers;

    QList<MessageBoxRequest> messages;
    QList<FileDialogRequest> fileDialogs;
    int modalCount = 0;

    QStringList messageTexts() const;
};
