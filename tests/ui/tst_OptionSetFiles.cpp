// Saving and loading option sets, the patch question for short files, and
// the preset buttons.
#include "RecordingDialogs.h"
#include "TestEnvironment.h"
#include "controls/TProPanel.h"
#include "platform/Failure.h"
#include "ui/TForm1.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// An option-set file's lines: every flag "0", texts "t1"
// and "t2", positions 10, 20, 30, 40, 50.
QStringList optionSet(int lineCount)
{
    return optionSetLines({"t1", "t2", "10", "20", "30", "40", "50", "0", "0", "0"},
                          QStringLiteral("any header"))
        .mid(0, lineCount);
}

} // namespace

class tst_OptionSetFiles : public QObject {
    Q_OBJECT

private slots:
    void init();

    void roundTrip();
    void writtenForm();
    void flagsOnReading_data();
    void flagsOnReading();
    void positions_data();
    void positions();
    void samePositionRunsNothing();
    void extraLinesIgnored();
    void lineEndings();
    void missingFile();
    void shortFiles_data();
    void shortFiles();
    void patchRewriteFails();
    void deathmatchUntouched();

    void savePreset();
    void loadPreset();
    void presetDialogsCancelled();
    void loadDefaultSettings();
    void loadDefaultSettingsMissing();

private:
    QString path(const QString& name) const { return dir_->filePath(name); }
    void checkAll(bool on);

    std::unique_ptr<QTemporaryDir> dir_;
    RecordingDialogs dialogs_;
    std::unique_ptr<TForm1> form_;
};

void tst_OptionSetFiles::init()
{
    dialogs_ = RecordingDialogs();
    dir_ = std::make_unique<QTemporaryDir>();
    form_ = std::make_unique<TForm1>(dialogs_, dir_->path() + QLatin1Char('/'));
}

void tst_OptionSetFiles::checkAll(bool on)
{
    for (int number = 1; number <= 36; ++number)
        form_->checkBox(number)->setChecked(on);
}

void tst_OptionSetFiles::roundTrip()
{
    TForm1& f = *form_;
    for (int number = 1; number <= 32; ++number)
        f.checkBox(number)->setChecked(number % 3 == 0);
    f.Edit1->setText(QStringLiteral("  240 "));
    // Blanks, accents, and more than a text field takes by default.
    const QString edit2 = QStringLiteral(" J\u00f6rg ") + QString(40'000, '7') + " ";
    f.Edit2->setText(edit2);
    f.ScrollBar1->setValue(7);
    f.ScrollBar2->setValue(200);
    f.ScrollBar3->setValue(0);
    f.ScrollBar4->setValue(100);
    f.ScrollBar5->setValue(255);
    f.SaveSettings(path("a.preset"), QStringLiteral("Modify at your own risk!"));
    const QByteArray saved = readBytes(path("a.preset"));

    TForm1 other(dialogs_, dir_->path() + QLatin1Char('/'));
    other.LoadSettings(path("a.preset"));
    for (int number : {1, 2, 3, 10, 12, 24, 25, 30, 31, 32})
        QCOMPARE(other.checkBox(number)->isChecked(), number % 3 == 0);
    QCOMPARE(other.Edit1->text(), QStringLiteral("  240 "));
    QCOMPARE(other.Edit2->text(), edit2);
    QCOMPARE(other.ScrollBar1->value(), 7);
    QCOMPARE(other.ScrollBar5->value(), 255);
    QCOMPARE(other.lightValues[0], 0.07);
    QCOMPARE(other.Label12->text(), QStringLiteral("0.07"));
    // The program settings are not part of it.
    QVERIFY(!other.CheckBox26->isChecked());
    QVERIFY(!other.CheckBox33->isChecked());
    other.SaveSettings(path("b.preset"), QStringLiteral("Modify at your own risk!"));
    QCOMPARE(readBytes(path("b.preset")), saved);
    QCOMPARE(dialogs_.messages.size(), 0);
}

void tst_OptionSetFiles::writtenForm()
{
    checkAll(false);
    form_->CheckBox1->setChecked(true);
    form_->CheckBox25->setChecked(true);
    form_->CheckBox31->setChecked(true);
    form_->SaveSettings(path("x.preset"), QStringLiteral("head"));
    QStringList expected{"head", "1"};
    for (int i = 2; i <= 24; ++i)
        expected << "0";
    expected << "1"
             << "0"
             << "0"
             << "100"
             << "40"
             << "100"
             << "0"
             << "196"
             << "0"
             << "1"
             << "0";
    QCOMPARE(readBytes(path("x.preset")), crlf(expected));
}

void tst_OptionSetFiles::flagsOnReading_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("checked");
    QTest::newRow("1") << "1" << true;
    QTest::newRow("yes") << "yes" << true;
    QTest::newRow("false") << "false" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("0 and blank") << "0 " << true;
    QTest::newRow("0") << "0" << false;
}

void tst_OptionSetFiles::flagsOnReading()
{
    QFETCH(QString, line);
    QFETCH(bool, checked);
    QStringList lines = optionSet(36);
    lines[7] = line;  // CheckBox7
    lines[34] = line; // CheckBox31
    writeBytes(path("f.preset"), crlf(lines));
    form_->LoadSettings(path("f.preset"));
    QCOMPARE(form_->CheckBox7->isChecked(), checked);
    QCOMPARE(form_->CheckBox31->isChecked(), checked);
    QVERIFY(!form_->CheckBox6->isChecked());
}

void tst_OptionSetFiles::positions_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("position"); // -1: no integer
    QTest::newRow("250 clamped") << "250" << 200;
    QTest::newRow("-5 clamped") << "-5" << 0;
    QTest::newRow("leading blank") << " 40" << 40;
    QTest::newRow("trailing blank") << "40 " << -1;
    QTest::newRow("$1F") << "$1F" << 31;
    QTest::newRow("0x10") << "0x10" << 16;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("99999999999") << "99999999999" << -1;
}

void tst_OptionSetFiles::positions()
{
    QFETCH(QString, line);
    QFETCH(int, position);
    QStringList lines = optionSet(36);
    lines[28] = line;
    writeBytes(path("p.preset"), crlf(lines));
    if (position >= 0) {
        form_->LoadSettings(path("p.preset"));
        QCOMPARE(form_->ScrollBar1->value(), position);
        QCOMPARE(form_->ScrollBar5->value(), 50);
        return;
    }
    try {
        form_->LoadSettings(path("p.preset"));
        QFAIL("no failure");
    } catch (const Failure& failure) {
        QCOMPARE(failure.text(), QStringLiteral("'%1' is not a valid integer value").arg(line));
    }
    // Texts and flags before it are taken; the sliders from it on are not.
    QCOMPARE(form_->Edit1->text(), QStringLiteral("t1"));
    QCOMPARE(form_->ScrollBar1->value(), 100);
    QCOMPARE(form_->ScrollBar2->value(), 40);
}

void tst_OptionSetFiles::samePositionRunsNothing()
{
    form_->ScrollBar2->setValue(20);
    form_->Label13->setText(QStringLiteral("marker"));
    writeBytes(path("s.preset"), crlf(optionSet(36)));
    form_->LoadSettings(path("s.preset"));
    QCOMPARE(form_->Label13->text(), QStringLiteral("marker"));
    QCOMPARE(form_->Label12->text(), QStringLiteral("0.1"));
}

void tst_OptionSetFiles::extraLinesIgnored()
{
    QStringList lines = optionSet(36);
    lines << "extra"
          << "0";
    writeBytes(path("e.preset"), crlf(lines));
    form_->LoadSettings(path("e.preset"));
    QCOMPARE(dialogs_.messages.size(), 0);
    form_->SaveSettings(path("e.preset"), QStringLiteral("h"));
    QCOMPARE(readBytes(path("e.preset")).count("\r\n"), 36);
}

void tst_OptionSetFiles::lineEndings()
{
    // Lone CRs, lone LFs, no end on the last line, and a zero byte ending
    // the text all read the same lines.
    QByteArray bytes = optionSet(36).join(QLatin1Char('\n')).toLocal8Bit();
    bytes.replace("\n10\n", "\r10\r");
    bytes += QByteArray("\0\n0", 3);
    writeBytes(path("l.preset"), bytes);
    form_->LoadSettings(path("l.preset"));
    QCOMPARE(dialogs_.messages.size(), 0);
    QCOMPARE(form_->ScrollBar1->value(), 10);
    QVERIFY(!form_->CheckBox32->isChecked());
}

void tst_OptionSetFiles::missingFile()
{
    form_->CheckBox3->setChecked(true);
    try {
        form_->LoadSettings(path("none.preset"));
        QFAIL("no failure");
    } catch (const Failure& failure) {
        QCOMPARE(failure.text(), QStringLiteral("Cannot open file ") + path("none.preset"));
    }
    QVERIFY(form_->CheckBox3->isChecked());
}

void tst_OptionSetFiles::shortFiles_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<int>("lastBoxLoaded"); // CheckBoxN that took the file's value
    QTest::addColumn<QString>("error");

    QTest::newRow("35 yes") << 35 << true << 25 << "";
    QTest::newRow("33 yes") << 33 << true << 25 << "";
    QTest::newRow("33 no") << 33 << false << 25 << "";
    QTest::newRow("30 no") << 30 << false << 25 << "List index out of bounds (30)";
    QTest::newRow("20 no") << 20 << false << 19 << "List index out of bounds (26)";
    QTest::newRow("0 yes") << 0 << true << 0 << "List index out of bounds (26)";
}

void tst_OptionSetFiles::shortFiles()
{
    QFETCH(int, lineCount);
    QFETCH(bool, answerYes);
    QFETCH(int, lastBoxLoaded);
    QFETCH(QString, error);
    checkAll(true);
    form_->Edit1->setText(QStringLiteral("before1"));
    for (QScrollBar* bar : {form_->ScrollBar1, form_->ScrollBar2, form_->ScrollBar3,
                            form_->ScrollBar4, form_->ScrollBar5})
        bar->setValue(0);
    const QString file = path("short.preset");
    const QByteArray original = crlf(optionSet(lineCount));
    writeBytes(file, original);
    QSignalSpy ended(form_.get(), &TForm1::endRequested);
    dialogs_.messageAnswers.push_back(answerYes ? QMessageBox::Yes : QMessageBox::No);

    QString thrown;
    try {
        form_->LoadSettings(file);
    } catch (const Failure& failure) {
        thrown = failure.text();
    }
    QCOMPARE(thrown, error);
    QCOMPARE(ended.count(), 1);
    QCOMPARE(dialogs_.messages.size(), 1);
    const MessageBoxRequest& question = dialogs_.messages[0];
    QCOMPARE(question.title, QStringLiteral("Confirm"));
    QCOMPARE(question.icon, QMessageBox::Question);
    QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(question.defaultButton, QMessageBox::Yes);
    QCOMPARE(question.escapeButton, QMessageBox::No);
    QCOMPARE(question.text, QStringLiteral("Error loading ") + file +
                                QStringLiteral(". This is most likely a version "
                                               "incompatability. Patch ") +
                                file + QLatin1Char('?'));

    for (int number = 1; number <= 25; ++number)
        QCOMPARE(form_->checkBox(number)->isChecked(), number > lastBoxLoaded);
    QVERIFY(form_->CheckBox32->isChecked()); // its line was never there
    QVERIFY(form_->CheckBox36->isChecked());

    if (!answerYes) {
        QCOMPARE(readBytes(file), original);
    } else {
        // Rewritten from the controls as they stood at the question.
        const QStringList rewritten = QString::fromLocal8Bit(readBytes(file)).split("\r\n");
        QCOMPARE(rewritten.size(), 37);
        QCOMPARE(rewritten[0], QStringLiteral("Modify at your own risk! (Patched, v1.02)"));
        QCOMPARE(rewritten[1], lastBoxLoaded >= 1 ? QStringLiteral("0") : QStringLiteral("1"));
        // Lines 33 and 34 were read when the file had them.
        QCOMPARE(rewritten.mid(26, 10),
                 (QStringList{"before1", "0", "0", "0", "0", "0", "0", lineCount > 33 ? "0" : "1",
                              lineCount > 34 ? "0" : "1", "1"}));
    }
    if (lineCount >= 33) {
        // The old file's texts and positions were applied after the question.
        QCOMPARE(form_->Edit1->text(), QStringLiteral("t1"));
        QCOMPARE(form_->ScrollBar5->value(), 50);
    }
    if (lineCount == 30) {
        QCOMPARE(form_->ScrollBar2->value(), 20);
        QCOMPARE(form_->ScrollBar3->value(), 0);
    }
}

void tst_OptionSetFiles::patchRewriteFails()
{
    const QString file = path("short.preset");
    const QByteArray original = crlf(optionSet(30));
    writeBytes(file, original);
    form_->Edit1->setText(QStringLiteral("before"));
    QSignalSpy ended(form_.get(), &TForm1::endRequested);
    dialogs_.messageAnswers.push_back(QMessageBox::Yes);
    QString thrown;
    {
        const WriteFailure failure(file);
        try {
            form_->LoadSettings(file);
        } catch (const Failure& error) {
            thrown = error.text();
        }
    }
    QCOMPARE(thrown, QStringLiteral("Cannot create file ") + file);
    // The load ends there: no end request, no texts or positions taken.
    QCOMPARE(ended.count(), 0);
    QCOMPARE(form_->Edit1->text(), QStringLiteral("before"));
    QCOMPARE(readBytes(file), original);
}

void tst_OptionSetFiles::deathmatchUntouched()
{
    writeBytes(path("d.preset"), crlf(optionSet(36)));
    form_->CheckBox36->setChecked(true);
    form_->LoadSettings(path("d.preset"));
    QVERIFY(form_->CheckBox36->isChecked());
    form_->CheckBox36->setChecked(false);
    form_->LoadSettings(path("d.preset"));
    QVERIFY(!form_->CheckBox36->isChecked());
}

void tst_OptionSetFiles::savePreset()
{
    const QString chosen = path("mine.preset");
    writeBytes(chosen, "old contents that are longer than nothing");
    dialogs_.fileAnswers.push_back(chosen);
    form_->Button2->click();
    FileDialogRequest expected;
    expected.kind = FileDialogRequest::Save;
    expected.title = QStringLiteral("save as preset");
    expected.filter = QStringLiteral("q2 compile preset|*.preset");
    expected.defaultExtension = QStringLiteral("*.preset");
    expected.options = FileDialogRequest::OverwritePrompt | FileDialogRequest::HideReadOnly |
                       FileDialogRequest::EnableSizing;
    QCOMPARE(dialogs_.fileDialogs.size(), 1);
    QCOMPARE(dialogs_.fileDialogs[0], expected);
    const QStringList lines = QString::fromLocal8Bit(readBytes(chosen)).split("\r\n");
    QCOMPARE(lines.size(), 37);
    QCOMPARE(lines[0], QStringLiteral("Modify at your own risk!"));
    QCOMPARE(dialogs_.messages.size(), 0);

    form_->Button2->click();
    QCOMPARE(dialogs_.fileDialogs[1].fileName, chosen);

    // A preset that cannot be written.
    dialogs_.fileAnswers.push_back(path("mine.preset/inside.preset"));
    form_->Button2->click();
    QCOMPARE(dialogs_.messageTexts(),
             QStringList{QStringLiteral("Cannot create file ") + path("mine.preset/inside.preset") +
                         QLatin1Char('.')});
}

void tst_OptionSetFiles::loadPreset()
{
    QStringList lines = optionSet(36);
    lines[1] = "1";
    writeBytes(path("in.preset"), crlf(lines));
    form_->CheckBox26->setChecked(true);
    form_->Edit4->setText(QStringLiteral("C:\\Q2"));
    dialogs_.fileAnswers.push_back(path("in.preset"));
    form_->Button1->click();
    FileDialogRequest expected;
    expected.kind = FileDialogRequest::Open;
    expected.title = QStringLiteral("load preset");
    expected.filter = QStringLiteral("q2 compile preset|*.preset");
    expected.defaultExtension = QStringLiteral("*.preset");
    expected.options = FileDialogRequest::HideReadOnly | FileDialogRequest::PathMustExist |
                       FileDialogRequest::FileMustExist | FileDialogRequest::EnableSizing;
    QCOMPARE(dialogs_.fileDialogs[0], expected);
    QVERIFY(form_->CheckBox1->isChecked());
    QVERIFY(!form_->CheckBox2->isChecked());
    QCOMPARE(form_->ScrollBar3->value(), 30);
    QVERIFY(form_->CheckBox26->isChecked());
    QCOMPARE(form_->gameDirectory, QStringLiteral("C:\\Q2"));

    // A 35-line preset brings the question with its full path, then the end.
    writeBytes(path("short.preset"), crlf(optionSet(35)));
    dialogs_.fileAnswers.push_back(path("short.preset"));
    QSignalSpy ended(form_.get(), &TForm1::endRequested);
    form_->Button1->click();
    QCOMPARE(dialogs_.fileDialogs[1].fileName, path("in.preset"));
    QCOMPARE(ended.count(), 1);
    QVERIFY(dialogs_.messages.constFirst().text.count(path("short.preset")) == 2);
}

void tst_OptionSetFiles::presetDialogsCancelled()
{
    form_->CheckBox4->setChecked(true);
    form_->Button2->click();
    form_->Button1->click();
    QCOMPARE(dialogs_.fileDialogs.size(), 2);
    QCOMPARE(dialogs_.messages.size(), 0);
    QVERIFY(form_->CheckBox4->isChecked());
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList());
}

void tst_OptionSetFiles::loadDefaultSettings()
{
    QStringList lines = optionSet(36);
    lines[26] = "from default";
    writeBytes(path("default.builtin"), crlf(lines));
    form_->show();
    form_->Button6->click();
    form_->Edit3->setText(QStringLiteral("4"));
    form_->Button8->click();
    QVERIFY(!form_->ProPanel1->isVisible());
    QCOMPARE(form_->Edit1->text(), QStringLiteral("from default"));
    QCOMPARE(form_->Edit3->text(), QStringLiteral("4"));
    QCOMPARE(dialogs_.fileDialogs.size(), 0);
}

void tst_OptionSetFiles::loadDefaultSettingsMissing()
{
    form_->show();
    form_->Button6->click();
    form_->Edit1->setText(QStringLiteral("mine"));
    form_->Button8->click();
    QVERIFY(!form_->ProPanel1->isVisible());
    QCOMPARE(form_->Edit1->text(), QStringLiteral("mine"));
    QCOMPARE(dialogs_.messageTexts(), QStringList{QStringLiteral("Cannot open file ") +
                                                  path("default.builtin") + QLatin1Char('.')});
}

QTEST_MAIN(tst_OptionSetFiles)
#include "tst_OptionSetFiles.moc"
