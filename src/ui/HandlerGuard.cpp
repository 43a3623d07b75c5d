#include "ui/HandlerGuard.h"

MessageBoxSpec errorBoxSpec(const QString& errorText)
{
    MessageBoxSpec spec;
    spec.title = programTitle;
    spec.text = errorBoxText(errorText);
    spec.icon = QMessageBox::Critical;
    spec.buttons = QMessageBox::Ok;
    spec.defaultButton = QMessageBox::Ok;
    spec.escapeButton = QMessageBox::Ok;
    return spec;
}

MessageBoxSpec confirmBoxSpec(const QString& text, QMessageBox::StandardButton defaultButton)
{
    MessageBoxSpec spec;
    spec.title = QStringLiteral("Confirm");
    spec.text = text;
    spec.icon = QMessageBox::Question;
    spec.buttons = QMessageBox::Yes | QMessageBox::No;
    spec.defaultButton = defaultButton;
    spec.escapeButton = QMessageBox::No;
    return spec;
}
