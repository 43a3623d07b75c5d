#include "RecordingDialogs.h"

QMessageBox::StandardButton RecordingDialogs::message(const MessageBoxRequest& request)
{
    messages.append(request);
    if (messageAnswers.empty())
        return request.escapeButton != QMessageBox::NoButton ? request.escapeButton
                                                             : QMessageBox::Ok;
    const QMessageBox::StandardButton answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

std::optional<QString> RecordingDialogs::fileDialog(const FileDialogRequest& request)
{
    fileDialogs.append(request);
    if (fileAnswers.empty())
        return std::nullopt;
    const QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    if (answer.isNull())
        return std::nullopt;
    return answer;
}

int RecordingDialogs::execModal(QDialog& dialog)
{
    ++modalCount;
    if (modalAnswers.empty())
        return 2;
    const auto answer = modalAnswers.front();
    modalAnswers.pop_front();
    return answer(dialog);
}

QStringList RecordingDialogs::messageTexts() const
{
    QStringList texts;
    for (const MessageBoxRequest& request : messages)
        texts << request.text;
    return texts;
}
