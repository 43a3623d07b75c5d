#pragma once

#include "platform/Failure.h"
#include "ui/Dialogs.h"

#include <QCoreApplication>
#include <exception>
#include <utility>

// The program's title: what the desktop shows and the caption of its boxes.
inline const QString programTitle = QStringLiteral("Brushwright");

// The standard error box: modal, error icon, one OK button.
MessageBoxRequest errorBoxRequest(const QString& errorText);

// A "Confirm" box with a question icon, Yes and No; No also answers Esc and
// the close box.
MessageBoxRequest confirmBoxRequest(const QString& text, QMessageBox::StandardButton defaultButton);

// Runs one step of an event handler. An error ends it there and shows the
// standard error box; nothing is thrown past this point, so no exception can
// reach Qt's event loop. Returns whether the step ran to its end.
template <typename Step> bool runHandler(Dialogs& dialogs, Step&& step) noexcept
{
    QString text;
    try {
        std::forward<Step>(step)();
        return true;
    } catch (const Failure& failure) {
        text = failure.text();
    } catch (const std::exception& error) {
        text = QString::fromLocal8Bit(error.what());
    } catch (...) {
        text = QStringLiteral("Unknown error");
    }
    try {
        dialogs.message(errorBoxRequest(text));
    } catch (...) {
    }
    return false;
}
