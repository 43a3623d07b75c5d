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
