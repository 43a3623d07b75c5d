// The settings loader as start-up runs it: TForm1::FormCreate in a program
// folder whose settings.builtin is the input, beside a valid option set,
// with the patch question answered No, then on the same file answered Yes.
// Whatever the file holds: a patch question exactly when it is short and no
// other box; on No the file is left as it was, on Yes its lines read are
// written back, the rest added; every line read is in its control exactly,
// AutoCompile runs as its box says, and a complete file is written back by
// shut-down with its texts as they were.
#include "FuzzSupport.h"
#include "RecordingDialogs.h"
#include "platform/TextFile.h"
#include "settings/SettingsText.h"
#include "ui/TForm1.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

namespace {

constexpr int fileLines = 10;

// An option set that loads without a box.
const QStringList optionSet = {QStringLiteral("Modify at your own risk!"),
                               "1",
                               "0",
                               "1",
                               "0",
                               "0",
                               "1",
                               "1",
                               "1",
                               "0",
                               "0",
                               "1",
                               "1",
                               "0",
                               "0",
                               "0",
                               "0",
                               "0",
                               "1",
                               "0",
                               "0",
                               "0",
                               "0",
                               "0",
                               "0",
                               "1",
                               "240",
                               "8",
                               "100",
                               "40",
                               "100",
                               "0",
                               "196",
                               "1",
                               "1",
                               "1"};

QCheckBox* boxOfLine(const TForm1& form, int line)
{
    return line <= 4 ? form.checkBox(25 + line) : form.checkBox(26 + line);
}

// The file's lines as shut-down writes them from the controls they set:
// one file, in the ANSI code page or all in UTF-8.
QList<QByteArray> normalized(const QStringList& lines)
{
    QStringList result;
    for (int line = 0; line < lines.size() && line < fileLines; ++line) {
        QString text = lines[line];
        if (line != 5 && line != 6)
            text = settings::flagLine(settings::flagFromLine(text));
        result << text;
    }
    return fuzz::rawLines(textfile::joinLines(result));
}

void checkMessages(const RecordingDialogs& dialogs, const QString& path, bool isShort)
{
    const QString question = QStringLiteral("Error loading %1. This is most likely a version "
                                            "incompatability. Patch %1?")
                                 .arg(path);
    fuzz::check(dialogs.messageTexts() == (isShort ? QStringList{question} : QStringList()),
                "the patch question when short, and no other box",
                dialogs.messageTexts().join(u'|'));
}

void checkControls(const TForm1& form, const QStringList& lines)
{
    if (!lines.isEmpty()) {
        fuzz::check(form.RadioButton1->isChecked() == (lines[0] == QLatin1String("0")),
                    "only \"0\" loads the default settings", lines[0]);
    }
    for (int line = 1; line < fileLines && line < lines.size(); ++line) {
        if (line != 5 && line != 6) {
            fuzz::check(boxOfLine(form, line)->isChecked() == settings::flagFromLine(lines[line]),
                        "a flag line sets its box", QString::number(line));
        }
    }
    if (lines.size() > 5)
        fuzz::check(form.Edit3->text() == lines[5], "Edit3 holds line 5 exactly", lines[5]);
    if (lines.size() > 6) {
        fuzz::check(form.Edit4->text() == lines[6] && form.gameDirectory == lines[6],
                    "the game directory is line 6 exactly", lines[6]);
    }
    fuzz::check(form.Timer1->isActive() == form.CheckBox35->isChecked(),
                "AutoCompile watches exactly while its box is checked");
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
    const QString folder = fuzz::workFolder() + QStringLiteral("program/");
    const QString path = folder + QStringLiteral("settings.builtin");
    QDir().mkpath(folder);
    for (const char* name : {"default.builtin", "lastused.builtin"})
        textfile::writeLines(folder + QLatin1String(name), optionSet);
    const bool isShort = fuzz::lineCount(bytes) < fileLines;

    fuzz::writeFile(path, bytes);
    const QStringList lines = textfile::readLines(path, fileLines);
    {
        RecordingDialogs dialogs;
        dialogs.messageAnswers = {QMessageBox::No};
        TForm1 form(dialogs, folder);
        form.FormCreate(QStringLiteral("base1"));
        checkMessages(dialogs, path, isShort);
        fuzz::check(form.isEndRequested() == isShort, "a short file ends the program");
        fuzz::check(fuzz::readFile(path) == bytes, "a file is changed only on Yes");
        checkControls(form, lines);
        if (!isShort) {
            form.FormClose();
            fuzz::check(fuzz::rawLines(fuzz::readFile(path)) == normalized(lines),
                        "shut-down writes back what was read");
        }
    }
    if (isShort) {
        fuzz::writeFile(path, bytes);
        RecordingDialogs dialogs;
        dialogs.messageAnswers = {QMessageBox::Yes};
        TForm1 form(dialogs, folder);
        form.FormCreate(QStringLiteral("base1"));
        checkMessages(dialogs, path, true);
        const QList<QByteArray> patched = fuzz::rawLines(fuzz::readFile(path));
        fuzz::check(patched.size() == fileLines &&
                        patched.mid(0, lines.size()) == normalized(lines),
                    "Yes keeps the lines read and adds the rest");
    }
    return 0;
}
