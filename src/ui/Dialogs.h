#pragma once

#include <QFlags>
#include <QMessageBox>
#include <QString>
#include <optional>

class QDialog;

// What a file dialog shows. Filter and default extension are kept in the
// form the program states them ("batch file|*.bat", "*.bat").
struct FileDialogRequest {
    // Folder chooses a folder: filter and default extension are not used.
    enum Kind { Open, Save, Folder };
    enum Option {
        OverwritePrompt = 0x1,
        HideReadOnly = 0x2,
        PathMustExist = 0x4,
        FileMustExist = 0x8,
        EnableSizing = 0x10,
    };
    Q_DECLARE_FLAGS(Options, Option)

    Kind kind = Open;
    QString title;
    QString filter;
    QString defaultExtension;
    Options options;
    QString initialFolder; // the program's own path, mapped when shown
    QString fileName;      // offered in the name field; the last choice

    bool operator==(const FileDialogRequest&) const = default;
};
Q_DECLARE_OPERATORS_FOR_FLAGS(FileDialogRequest::Options)

struct MessageBoxRequest {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::StandardButton escapeButton = QMessageBox::NoButton;

    bool operator==(const MessageBoxRequest&) const = default;
};

// Every modal box, file dialog and modal window goes through here, so tests
// can answer them and see what they would have shown.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual QMessageBox::StandardButton message(const MessageBoxRequest& request) = 0;
    // The chosen file's full path; nothing when cancelled.
    virtual std::optional<QString> fileDialog(const FileDialogRequest& request) = 0;
    // Shows a window modally and returns its result.
    virtual int execModal(QDialog& dialog) = 0;
};
