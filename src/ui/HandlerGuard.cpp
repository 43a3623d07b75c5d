#include "ui/HandlerGuard.h"

MessageBoxRequest errorBoxRequest(const QString& errorText)
{
    MessageBoxRequest request;
    request.title = programTitle;
    request.text = errorBoxText(errorText);
    request.icon = QMessageBox::Critical;
    request.buttons = QMessageBox::Ok;
    request.defaultButton = QMessageBox::Ok;
    request.escapeButton = QMessageBox::Ok;
    return request;
}

MessageBoxRequest confirmBoxRequest(const QString& text, QMessageBox::StandardButton defaultButton)
{
    MessageBoxRequest request;
    request.title = QStringLiteral("Confirm");
    request.text = text;
    request.icon = QMessageBox::Question;
    request.buttons = QMessageBox::Yes | QMessageBox::No;
    request.defaultButton = defaultButton;
    request.escapeButton = QMessageBox::No;
    return request;
}
