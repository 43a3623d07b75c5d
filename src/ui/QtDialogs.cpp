#include "ui/QtDialogs.h"

#include "platform/PathMapping.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>

QString qtNameFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
    return filters.join(QStringLiteral(";;"));
}

QMessageBox::StandardButton QtDialogs::message(const MessageBoxSpec& spec)
{
    QMessageBox box(spec.icon, spec.title, spec.text, spec.buttons, QApplication::activeWindow());
    if (spec.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(spec.defaultButton);
    if (spec.escapeButton != QMessageBox::NoButton)
        box.setEscapeButton(spec.escapeButton);
    const int result = box.exec();
    // A box closed without a button answers with its escape button.
    if (box.clickedButton() == nullptr)
        return spec.escapeButton != QMessageBox::NoButton ? spec.escapeButton
                                                          : QMessageBox::NoButton;
    return QMessageBox::StandardButton(result);
}

std::optional<QString> QtDialogs::fileDialog(const FileDialogSpec& spec)
{
    QFileDialog dialog(QApplication::activeWindow(), spec.title);
    dialog.setAcceptMode(spec.kind == FileDialogSpec::Save ? QFileDialog::AcceptSave
                                                           : QFileDialog::AcceptOpen);
    dialog.setFileMode(spec.options.testFlag(FileDialogSpec::FileMustExist)
                           ? QFileDialog::ExistingFile
                           : QFileDialog::AnyFile);
    dialog.setNameFilter(qtNameFilter(spec.filter));
    QString suffix = spec.defaultExtension;
    suffix.remove(QStringLiteral("*."));
    dialog.setDefaultSuffix(suffix);
    QFileDialog::Options options;
    if (!spec.options.testFlag(FileDialogSpec::OverwritePrompt))
        options |= QFileDialog::DontConfirmOverwrite;
    // HideReadOnly needs nothing: Qt's dialogs have no read-only box.
    dialog.setOptions(options);
    dialog.setSizeGripEnabled(spec.options.testFlag(FileDialogSpec::EnableSizing));
    if (!spec.initialFolder.isEmpty())
        dialog.setDirectory(platform::localPath(spec.initialFolder));
    if (!spec.fileName.isEmpty())
        dialog.selectFile(platform::localPath(spec.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

int QtDialogs::execModal(QDialog& dialog)
{
    return dialog.exec();
}
