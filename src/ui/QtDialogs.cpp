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

QMessageBox::StandardButton QtDialogs::message(const MessageBoxRequest& request)
{
    QMessageBox box(request.icon, request.title, request.text, request.buttons,
                    QApplication::activeWindow());
    // Texts carry file lines and paths: never markup, never images to load.
    box.setTextFormat(Qt::PlainText);
    if (request.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(request.defaultButton);
    if (request.escapeButton != QMessageBox::NoButton)
        box.setEscapeButton(request.escapeButton);
    const int result = box.exec();
    // A box closed without a button answers with its escape button.
    if (box.clickedButton() == nullptr)
        return request.escapeButton != QMessageBox::NoButton ? request.escapeButton
                                                             : QMessageBox::NoButton;
    return QMessageBox::StandardButton(result);
}

std::optional<QString> QtDialogs::fileDialog(const FileDialogRequest& request)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title);
    dialog.setAcceptMode(request.kind == FileDialogRequest::Save ? QFileDialog::AcceptSave
                                                                 : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.kind == FileDialogRequest::Folder ? QFileDialog::Directory
                       : request.options.testFlag(FileDialogRequest::FileMustExist)
                           ? QFileDialog::ExistingFile
                           : QFileDialog::AnyFile);
    dialog.setNameFilter(qtNameFilter(request.filter));
    QString suffix = request.defaultExtension;
    suffix.remove(QStringLiteral("*."));
    dialog.setDefaultSuffix(suffix);
    QFileDialog::Options options;
    if (!request.options.testFlag(FileDialogRequest::OverwritePrompt))
        options |= QFileDialog::DontConfirmOverwrite;
    // HideReadOnly needs nothing: Qt's dialogs have no read-only box.
    if (request.kind == FileDialogRequest::Folder)
        options |= QFileDialog::ShowDirsOnly;
    dialog.setOptions(options);
    dialog.setSizeGripEnabled(request.options.testFlag(FileDialogRequest::EnableSizing));
    if (!request.initialFolder.isEmpty())
        dialog.setDirectory(platform::localPath(request.initialFolder));
    if (!request.fileName.isEmpty())
        dialog.selectFile(platform::localPath(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

int QtDialogs::execModal(QDialog& dialog)
{
    return dialog.exec();
}
