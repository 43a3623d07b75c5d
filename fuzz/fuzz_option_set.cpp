// The option-set loader as "load preset..." runs it: TForm1::LoadSettings
// under the window's handler guard, with the patch question answered No,
// then on the same file answered Yes. Whatever the file holds: a patch
// question exactly when it is short, then at most one error box; on No the
// file is left as it was, on Yes it is whole and loads without a box; every
// line read is in its control exactly, and a complete file is written back
// with its texts as they were.
#include "FuzzSupport.h"
#include "RecordingDialogs.h"
#include "platform/TextFile.h"
#include "settings/SettingsText.h"
#include "ui/HandlerGuard.h"
#include "ui/TForm1.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QScrollBar>
#include <algorithm>
#include <optional>

namespace {

constexpr int fileLines = 36;

QScrollBar* slider(const TForm1& form, int index)
{
    QScrollBar* const sliders[] = {form.ScrollBar1, form.ScrollBar2, form.ScrollBar3,
                                   form.ScrollBar4, form.ScrollBar5};
    return sliders[index];
}

QCheckBox* boxOfLine(const TForm1& form, int line)
{
    return line <= 25 ? form.checkBox(line) : form.checkBox(30 + line - 33);
}

// Loads the file as "load preset..." does, the patch question answered.
void load(const QString& path, QMessageBox::StandardButton answer, RecordingDialogs& dialogs,
          TForm1& form)
{
    dialogs.messageAnswers = {answer};
    runHandler(dialogs, [&] { form.LoadSettings(path); });
}

void checkMessages(const RecordingDialogs& dialogs, const QString& path, bool isShort)
{
    const QString question = QStringLiteral("Error loading %1. This is most likely a version "
                                            "incompatability. Patch %1?")
                                 .arg(path);
    const qsizetype questions = isShort ? 1 : 0;
    fuzz::check(dialogs.messages.size() <= questions + 1, "a question and one error box at most",
                dialogs.messageTexts().join(u'|'));
    for (qsizetype i = 0; i < dialogs.messages.size(); ++i) {
        const bool isQuestion = dialogs.messages[i].title == QLatin1String("Confirm");
        fuzz::check(isQuestion == (i < questions), "the patch question first, when short",
                    dialogs.messages[i].text);
        if (isQuestion)
            fuzz::check(dialogs.messages[i].text == question, "the patch question names the file");
    }
}

void checkControls(const TForm1& form, const QStringList& lines, bool loadedToEnd)
{
    for (int line = 1; line < fileLines && line < lines.size(); ++line) {
        if (line <= 25 || line >= 33) {
            fuzz::check(boxOfLine(form, line)->isChecked() == settings::flagFromLine(lines[line]),
                        "a flag line sets its box", QString::number(line));
        }
    }
    if (lines.size() > 26)
        fuzz::check(form.Edit1->text() == lines[26], "Edit1 holds line 26 exactly", lines[26]);
    if (lines.size() > 27)
        fuzz::check(form.Edit2->text() == lines[27], "Edit2 holds line 27 exactly", lines[27]);
    if (!loadedToEnd)
        return;
    for (int index = 0; index < 5; ++index) {
        const QScrollBar* bar = slider(form, index);
        const std::optional<qint32> position = settings::integerFromText(lines[28 + index]);
        fuzz::check(position &&
                        bar->value() == std::clamp(*position, bar->minimum(), bar->maximum()),
                    "a slider takes its line, clamped", lines[28 + index]);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::startOffscreenApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QString folder = fuzz::workFolder();
    const QString path = folder + QStringLiteral("fuzz.preset");
    const bool isShort = fuzz::lineCount(bytes) < fileLines;

    fuzz::writeFile(path, bytes);
    const QStringList lines = textfile::readLines(path, fileLines);
    {
        RecordingDialogs dialogs;
        TForm1 form(dialogs, folder);
        load(path, QMessageBox::No, dialogs, form);
        checkMessages(dialogs, path, isShort);
        fuzz::check(form.isEndRequested() == isShort, "a short file ends the program");
        fuzz::check(fuzz::readFile(path) == bytes, "a file is changed only on Yes");
        const bool loadedToEnd = dialogs.messages.size() == (isShort ? 1 : 0);
        checkControls(form, lines, loadedToEnd);

        if (!isShort && loadedToEnd) {
            // What was read is what is written: in the ANSI code page, or
            // all in UTF-8 where it lacks a character, never lost.
            const QString copy = folder + QStringLiteral("copy.preset");
            form.SaveSettings(copy, QStringLiteral("Modify at your own risk!"));
            const QStringList written = textfile::readLines(copy);
            fuzz::check(written.size() == fileLines && written[26] == lines[26] &&
                            written[27] == lines[27],
                        "the texts are written back as they were read");
        }
    }
    if (isShort) {
        RecordingDialogs dialogs;
        TForm1 form(dialogs, folder);
        load(path, QMessageBox::Yes, dialogs, form);
        checkMessages(dialogs, path, true);
        const QStringList patched = textfile::readLines(path);
        fuzz::check(patched.size() == fileLines &&
                        patched[0] == QLatin1String("Modify at your own risk! (Patched, v1.02)"),
                    "Yes makes the file whole", patched.join(u'|'));

        RecordingDialogs again;
        TForm1 reloaded(again, folder);
        load(path, QMessageBox::No, again, reloaded);
        fuzz::check(again.messages.isEmpty(), "a patched file loads without a box",
                    again.messageTexts().join(u'|'));
    }
    return 0;
}
