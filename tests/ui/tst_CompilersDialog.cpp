// "compilers...": the dialog's OK writes brushwright.ini and the main window
// takes the suite; Cancel changes nothing; a failed write changes nothing
// and is reported. While a suite is chosen, the widgets it has no switch
// for are disabled and say so, and keep their state.
#include "RecordingDialogs.h"
#include "batch/BatchScript.h"
#include "settings/CompilerSettingsFile.h"
#include "ui/CompilersDialog.h"
#include "ui/TForm1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

using namespace settings;

class tst_CompilersDialog : public QObject {
    Q_OBJECT

private slots:
    void okWritesAndApplies();
    void cancelChangesNothing();
    void failedWriteChangesNothing();
    void ericwLeavesOutSliders();

private:
    // Answers the next dialog: the suite chosen, the folder browsed for,
    // the game program typed; accepted or not.
    void answer(RecordingDialogs& dialogs, int suite, const QString& program, int result);
};

void tst_CompilersDialog::answer(RecordingDialogs& dialogs, int suite, const QString& program,
                                 int result)
{
    dialogs.modalAnswers.push_back([=](QDialog& shown) {
        auto& dialog = dynamic_cast<CompilersDialog&>(shown);
        dialog.suiteBox->setCurrentIndex(suite);
        dialog.folderButton->click();
        dialog.programEdit->setText(program);
        return result;
    });
}

void tst_CompilersDialog::okWritesAndApplies()
{
    QTemporaryDir dir;
    RecordingDialogs dialogs;
    TForm1 form(dialogs, dir.path() + '/');
    form.CheckBox2->setChecked(true);
    dialogs.fileAnswers.push_back("D:\\q2tools");
    answer(dialogs, 1, "C:\\Games\\q2pro.exe", QDialog::Accepted);
    form.Button11->click();

    QCOMPARE(dialogs.fileDialogs.size(), 1);
    QCOMPARE(dialogs.fileDialogs[0].kind, FileDialogRequest::Folder);
    const CompilerSettings expected{Suite::Q2tools, "D:\\q2tools", "C:\\Games\\q2pro.exe",
                                    CompileWay::Console, true};
    QCOMPARE(form.compilerSettings(), expected);
    QCOMPARE(readCompilerSettings(dir.filePath("brushwright.ini")), expected);
    // -glview is q2tool's unknown switch: its box is off, its state kept.
    QVERIFY(!form.CheckBox2->isEnabled() && form.CheckBox2->isChecked());
    QCOMPARE(form.CheckBox2->toolTip(),
             "qbsp3 -glview when checked \u2014 not available with q2tools-220");
    QCOMPARE(form.CheckBox10->toolTip(), "q2tool -bsp -chop x when checked");
    QVERIFY(!batch::batchLines(form.batchOptions(), form.compilerSettings())
                 .join('\n')
                 .contains("-glview"));

    // Back to id's tools: every widget and hint as before.
    dialogs.fileAnswers.push_back(QString());
    answer(dialogs, 0, "", QDialog::Accepted);
    form.Button11->click();
    QCOMPARE(form.compilerSettings().suite, Suite::Id);
    QVERIFY(form.CheckBox2->isEnabled() && form.CheckBox2->isChecked());
    QCOMPARE(form.CheckBox2->toolTip(), "qbsp3 -glview when checked");
    QCOMPARE(form.CheckBox30->toolTip(), "run qbsp3 when checked");
}

void tst_CompilersDialog::cancelChangesNothing()
{
    QTemporaryDir dir;
    RecordingDialogs dialogs;
    TForm1 form(dialogs, dir.path() + '/');
    dialogs.fileAnswers.push_back("D:\\tools");
    answer(dialogs, 2, "yquake2", QDialog::Rejected);
    form.Button11->click();
    QCOMPARE(dialogs.modalCount, 1);
    QCOMPARE(form.compilerSettings(), CompilerSettings{});
    QVERIFY(!QFile::exists(dir.filePath("brushwright.ini")));
    QVERIFY(form.CheckBox1->isEnabled());
}

void tst_CompilersDialog::failedWriteChangesNothing()
{
    QTemporaryDir dir;
    RecordingDialogs dialogs;
    const QString folder = dir.filePath("missing/");
    TForm1 form(dialogs, folder);
    answer(dialogs, 1, "", QDialog::Accepted);
    form.Button11->click();
    QCOMPARE(dialogs.messageTexts(),
             QStringList{"Cannot create file " + folder + "brushwright.ini."});
    QCOMPARE(form.compilerSettings(), CompilerSettings{});
    QVERIFY(form.CheckBox2->isEnabled());
}

void tst_CompilersDialog::ericwLeavesOutSliders()
{
    QTemporaryDir dir;
    RecordingDialogs dialogs;
    TForm1 form(dialogs, dir.path() + '/');
    answer(dialogs, 2, "", QDialog::Accepted);
    form.Button11->click();
    QCOMPARE(form.compilerSettings().suite, Suite::Ericw);
    for (QScrollBar* bar : {form.ScrollBar1, form.ScrollBar2, form.ScrollBar3, form.ScrollBar4})
        QVERIFY(!bar->isEnabled() && bar->toolTip().endsWith("not available with ericw-tools"));
    QVERIFY(form.ScrollBar5->isEnabled());
    QVERIFY(form.Edit1->isEnabled() && !form.CheckBox1->isEnabled());
    QCOMPARE(form.CheckBox10->toolTip(), "qbsp -q2bsp -subdivide x when checked");
    QCOMPARE(form.CheckBox31->toolTip(), "run vis when checked");
}

QTEST_MAIN(tst_CompilersDialog)
#include "tst_CompilersDialog.moc"
