// "compile", the verification window, "save as batch file..." and "cancel".
#include "RecordingDialogs.h"
#include "StartRecorder.h"
#include "TestEnvironment.h"
#include "platform/CodePage.h"
#include "ui/TForm1.h"
#include "ui/TForm2.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <memory>

class tst_Compile : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void compileWritesAndStarts();
    void closeOnCompile();
    void verifyAndCompileEditedText();
    void verifyUnchangedTextIsWrittenBack();
    void verifyCancelStartsNothing();
    void missingMapsFolder();
    void failedStart();
    void saveAsBatchFile();
    void saveAsBatchFileCancelled();
    void cancelClosesTheWindow();
    void unwritableTextWritesNothing_data();
    void unwritableTextWritesNothing();

    void verificationWindow();
    void verificationWindowResults();

private:
    QString batchPath() const
    {
        return dir_->filePath(QStringLiteral("q2/baseq2/maps/Brushwright.bat"));
    }

    std::unique_ptr<QTemporaryDir> dir_;
    RecordingDialogs dialogs_;
    std::unique_ptr<StartRecorder> starts_;
    std::unique_ptr<TForm1> form_;
    std::unique_ptr<TForm2> form2_;
};

void tst_Compile::init()
{
    dialogs_ = RecordingDialogs();
    dir_ = std::make_unique<QTemporaryDir>();
    QDir(dir_->path()).mkpath(QStringLiteral("q2/baseq2/maps"));
    starts_ = std::make_unique<StartRecorder>(dir_->filePath(QStringLiteral("q2/baseq2/maps")));
    QFile::remove(batchPath());
    form_ = std::make_unique<TForm1>(dialogs_, dir_->path() + QLatin1Char('/'));
    form2_ = std::make_unique<TForm2>();
    form_->setVerifyWindow(form2_.get());
    // A game directory without a drive is used as it stands.
    form_->Edit4->setText(QDir::toNativeSeparators(dir_->filePath(QStringLiteral("q2"))));
    form_->mapName = QStringLiteral("base1");
    form_->Button3->setEnabled(true);
    form_->Button7->setEnabled(true);
    form_->show();
}

void tst_Compile::cleanup()
{
    form_.reset();
    form2_.reset();
    starts_.reset();
    dir_.reset();
}

void tst_Compile::compileWritesAndStarts()
{
    QSignalSpy ended(form_.get(), &TForm1::endRequested);
    form_->Button3->click();
    const QByteArray written = readBytes(batchPath());
    QVERIFY(written.startsWith("cls\r\n@echo off\r\n"));
    QVERIFY(written.contains(" base1\r\n"));
    QCOMPARE(dialogs_.modalCount, 0);
    QCOMPARE(dialogs_.messages.size(), 0);
    QCOMPARE(starts_->runs(), 1);
    const QStringList call = starts_->calls().constFirst();
#ifdef _WIN32
    // The batch file ran in the command interpreter, in the maps folder.
    QCOMPARE(call.constFirst(), QStringLiteral("qbsp3"));
    QCOMPARE(call.constLast(), QStringLiteral("base1"));
#else
    QCOMPARE(call, StartRecorder::wineStart(batchPath()));
#endif
    QVERIFY(form_->isVisible());
    QCOMPARE(ended.count(), 0);
}

void tst_Compile::closeOnCompile()
{
    form_->CheckBox28->setChecked(true);
    QSignalSpy ended(form_.get(), &TForm1::endRequested);
    form_->Button3->click();
    QCOMPARE(starts_->runs(), 1);
    QVERIFY(!form_->isVisible());
    QCOMPARE(ended.count(), 1);
    // Closing saved the settings beside the program.
    QVERIFY(QFile::exists(dir_->filePath(QStringLiteral("settings.builtin"))));
    QVERIFY(QFile::exists(dir_->filePath(QStringLiteral("lastused.builtin"))));
}

void tst_Compile::verifyAndCompileEditedText()
{
    form_->CheckBox29->setChecked(true);
    form_->CheckBox28->setChecked(true);
    QByteArray shown;
    QByteArray edited;
    dialogs_.modalAnswers.push_back([&](QDialog& dialog) {
        auto& form2 = static_cast<TForm2&>(dialog);
        shown = form2.fileText();
        QString text = form2.Memo1->toPlainText();
        text.replace(QStringLiteral(" base1\nqvis3"), QStringLiteral(" edited\nqvis3"));
        text.chop(1); // no line break at the end
        form2.Memo1->setPlainText(text);
        edited = platform::encodeText(text.replace(QStringLiteral("\n"), QStringLiteral("\r\n")),
                                      platform::CodePage::Oem);
        form2.compile1->trigger();
        return form2.result();
    });
    form_->Button3->click();
    QCOMPARE(dialogs_.modalCount, 1);
    QVERIFY(shown.startsWith("cls\r\n@echo off\r\n"));
    // The user's text as left, no line break added at its end.
    QVERIFY(edited.contains(" edited\r\n") && !edited.endsWith('\n'));
    QCOMPARE(readBytes(batchPath()), edited);
    QCOMPARE(starts_->runs(), 1);
#ifdef _WIN32
    // What ran was the edited text.
    QCOMPARE(starts_->calls().constFirst().constLast(), QStringLiteral("edited"));
#endif
    QVERIFY(!form_->isVisible());
}

void tst_Compile::verifyUnchangedTextIsWrittenBack()
{
    form_->CheckBox29->setChecked(true);
    // A no-break space and an accent must survive, in the interpreter's
    // code page.
    const QString value = QStringLiteral("a\u00a0b J\u00f6rg");
    form_->Edit1->setText(value);
    form_->CheckBox10->setChecked(true);
    dialogs_.modalAnswers.push_back([](QDialog&) { return int(TForm2::Compile); });
    form_->Button3->click();
    const QByteArray afterCompile = readBytes(batchPath());
    QVERIFY(
        afterCompile.contains(" " + platform::encodeText(value, platform::CodePage::Oem) + " "));
    QCOMPARE(form2_->Memo1->document()->toRawText().count(value), 1);
    form_->SaveToBatch(batchPath());
    QCOMPARE(afterCompile, readBytes(batchPath()));
    QCOMPARE(form2_->fileText(), afterCompile);
    QCOMPARE(starts_->runs(), 1);
}

void tst_Compile::verifyCancelStartsNothing()
{
    form_->CheckBox29->setChecked(true);
    form_->CheckBox28->setChecked(true);
    dialogs_.modalAnswers.push_back([](QDialog& dialog) {
        auto& form2 = static_cast<TForm2&>(dialog);
        form2.Memo1->setPlainText(QStringLiteral("edited"));
        form2.cancel1->trigger();
        return form2.result();
    });
    form_->Button3->click();
    const QByteArray generated = readBytes(batchPath());
    QVERIFY(generated.startsWith("cls\r\n"));
    QCOMPARE(starts_->runs(0), 0);
    QVERIFY(form_->isVisible());

    // The next compile shows freshly generated text again.
    QByteArray shown;
    dialogs_.modalAnswers.push_back([&](QDialog& dialog) {
        shown = static_cast<TForm2&>(dialog).fileText();
        return int(TForm2::Cancel);
    });
    form_->Button3->click();
    QCOMPARE(shown, generated);
}

void tst_Compile::missingMapsFolder()
{
    form_->CheckBox28->setChecked(true);
    form_->Edit4->setText(dir_->filePath(QStringLiteral("nowhere")));
    form_->Button3->click();
    QCOMPARE(dialogs_.messages.size(), 1);
    const MessageBoxRequest& box = dialogs_.messages[0];
    QCOMPARE(box.title, QStringLiteral("Brushwright"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box.text, QStringLiteral("Cannot create file ") + dir_->filePath("nowhere") +
                           QStringLiteral("\\baseq2\\maps\\Brushwright.bat."));
    QCOMPARE(starts_->runs(0), 0);
    QVERIFY(form_->isVisible());

    // Saving elsewhere still works.
    const QString elsewhere = dir_->filePath(QStringLiteral("elsewhere.bat"));
    dialogs_.fileAnswers.push_back(elsewhere);
    form_->Button7->click();
    QVERIFY(readBytes(elsewhere).startsWith("cls\r\n"));
}

void tst_Compile::failedStart()
{
#ifdef _WIN32
    QSKIP("WinExec starts any batch file that exists, and the compile has just written it: "
          "a failed start cannot be brought about here");
#endif
    starts_->makeStartFail();
    form_->CheckBox28->setChecked(true);
    form_->Button3->click();
    // The path as the program built it.
    QCOMPARE(dialogs_.messageTexts(),
             QStringList{QStringLiteral("Cannot start file ") + form_->gameDirectory +
                         QStringLiteral("\\baseq2\\maps\\Brushwright.bat.")});
    QVERIFY(form_->isVisible());
    QVERIFY(QFile::exists(batchPath()));
}

void tst_Compile::saveAsBatchFile()
{
    const QString chosen = dir_->filePath(QStringLiteral("saved.bat"));
    dialogs_.fileAnswers.push_back(chosen);
    form_->Button7->click();
    QCOMPARE(dialogs_.fileDialogs.size(), 1);
    FileDialogRequest expected;
    expected.kind = FileDialogRequest::Save;
    expected.title = QStringLiteral("save as batch file");
    expected.filter = QStringLiteral("batch file|*.bat");
    expected.defaultExtension = QStringLiteral("*.bat");
    expected.options = FileDialogRequest::OverwritePrompt | FileDialogRequest::HideReadOnly |
                       FileDialogRequest::EnableSizing;
    QCOMPARE(dialogs_.fileDialogs[0], expected);
    QCOMPARE(starts_->runs(0), 0);
    QVERIFY(!QFile::exists(batchPath()));

    // The same text as "compile" writes, wherever it is saved.
    form_->Button3->click();
    QCOMPARE(readBytes(chosen), readBytes(batchPath()));

    // The dialog offers the last choice again.
    form_->Button7->click();
    QCOMPARE(dialogs_.fileDialogs.last().fileName, chosen);
}

void tst_Compile::saveAsBatchFileCancelled()
{
    dialogs_.fileAnswers.push_back(QString());
    form_->Button7->click();
    QCOMPARE(dialogs_.fileDialogs.size(), 1);
    QCOMPARE(dialogs_.messages.size(), 0);
    QCOMPARE(form_->SaveDialog2.fileName, QString());
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList());
}

void tst_Compile::unwritableTextWritesNothing_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("holder");
    const QString map = QStringLiteral("The map name \"box\u2603\"");
    QTest::newRow("compile") << "compile" << map;
    QTest::newRow("save as") << "save as" << map;
    QTest::newRow("typed in the verification window") << "verify"
                                                      << "The batch file";
}

void tst_Compile::unwritableTextWritesNothing()
{
    QFETCH(QString, way);
    QFETCH(QString, holder);
    const int oem = platform::codePageNumber(platform::CodePage::Oem);
    if (platform::firstUnwritable(QStringLiteral("\u2603"), oem).isEmpty())
        QSKIP("this console code page writes every character");
    const QString chosen = dir_->filePath(QStringLiteral("saved.bat"));
    dialogs_.fileAnswers.push_back(chosen);
    form_->CheckBox29->setChecked(way == QLatin1String("verify"));
    dialogs_.modalAnswers.push_back([](QDialog& dialog) {
        auto& form2 = static_cast<TForm2&>(dialog);
        form2.Memo1->appendPlainText(QStringLiteral("\u2603"));
        form2.compile1->trigger();
        return form2.result();
    });
    if (way != QLatin1String("verify"))
        form_->mapName = QStringLiteral("box\u2603");
    (way == QLatin1String("save as") ? form_->Button7 : form_->Button3)->click();
    QCOMPARE(dialogs_.messageTexts(),
             QStringList{holder + QStringLiteral(" holds \"\u2603\", which this system's "
                                                 "console code page (%1) cannot write.")
                                      .arg(oem)});
    // Never a "?" in its place: no file, or the one shown, unchanged.
    QVERIFY(!QFile::exists(chosen));
    QCOMPARE(QFile::exists(batchPath()), way == QLatin1String("verify"));
    QVERIFY(!readBytes(batchPath()).contains('?'));
    QCOMPARE(starts_->runs(0), 0);
}

void tst_Compile::cancelClosesTheWindow()
{
    QSignalSpy ended(form_.get(), &TForm1::endRequested);
    form_->Button4->click();
    QVERIFY(!form_->isVisible());
    QCOMPARE(ended.count(), 1);
    QCOMPARE(starts_->runs(0), 0);
}

void tst_Compile::verificationWindow()
{
    TForm2 form;
    QCOMPARE(form.windowTitle(), QStringLiteral("verify batch file"));
    // Its text area and menu are made when it is first shown.
    form.show();
    QCOMPARE(form.Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(form.Memo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(form.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(!form.Memo1->isReadOnly());
    const QList<QAction*> commands = form.MainMenu1->actions();
    QCOMPARE(commands.size(), 2);
    QCOMPARE(commands[0]->text(), QStringLiteral("compile"));
    QCOMPARE(commands[1]->text(), QStringLiteral("cancel"));
    QVERIFY(!commands[0]->menu());

    // Lone CRs and LFs come back as CR LF; CR LF stays as it is.
    form.setFileText("a\rb\nc\r\nd");
    QCOMPARE(form.fileText(), QByteArray("a\r\nb\r\nc\r\nd"));
    form.setFileText("x\r\n\r\n");
    QCOMPARE(form.fileText(), QByteArray("x\r\n\r\n"));
}

void tst_Compile::verificationWindowResults()
{
    TForm2 form;
    QTimer::singleShot(0, &form, [&form] { form.compile1->trigger(); });
    QCOMPARE(form.exec(), 1);
    QTimer::singleShot(0, &form, [&form] { form.cancel1->trigger(); });
    QCOMPARE(form.exec(), 2);
    QTimer::singleShot(0, &form, [&form] { form.close(); });
    QCOMPARE(form.exec(), 2);
    QTimer::singleShot(0, &form, [&form] { QTest::keyClick(&form, Qt::Key_Escape); });
    QCOMPARE(form.exec(), 2);
}

QTEST_MAIN(tst_Compile)
#include "tst_Compile.moc"
