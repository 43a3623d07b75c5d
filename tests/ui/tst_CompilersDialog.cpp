// "compilers...": OK writes brushwright.ini (every key, other keys kept) and
// the window takes the suite, disabling (and keeping the state of) what it
// has no switch for; Cancel and a failed write change nothing.
#include "RecordingDialogs.h"
#include "settings/CompilerSettingsFile.h"
#include "ui/CompilersDialog.h"
#include "ui/TForm1.h"
#include "ui/TForm1Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

using namespace settings;

class tst_CompilersDialog : public QObject {
    Q_OBJECT

private slots:
    void suites();
    void failedWrite();
    void modFolder_data();
    void modFolder();

private:
    // Answers the next dialog: the suite chosen, the folder browsed for.
    void answer(int suite, const QString& folder, int result, int engine = 0,
                bool alwaysVis = false)
    {
        dialogs_.fileAnswers.push_back(folder);
        dialogs_.modalAnswers.push_back([=](QDialog& shown) {
            auto& dialog = dynamic_cast<CompilersDialog&>(shown);
            dialog.suiteBox->setCurrentIndex(suite);
            dialog.visBox->setChecked(alwaysVis);
            dialog.engineBox->setCurrentIndex(engine);
            dialog.folderButton->click();
            return result;
        });
    }

    RecordingDialogs dialogs_;
    QTemporaryDir dir_;
};

void tst_CompilersDialog::suites()
{
    TForm1 form(dialogs_, dir_.path() + '/');
    form.CheckBox2->setChecked(true);
    QFile ini(dir_.filePath("brushwright.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly) && ini.write("[compile]\nway=Window\n[x]\ny=z\n"));
    ini.close();
    answer(2, "D:\\tools", QDialog::Rejected);
    answer(1, "D:\\q2tools", QDialog::Accepted, int(report::Engine::Q2pro), true);
    form.Button11->click();
    QCOMPARE(form.compilerSettings(), CompilerSettings{});
    form.Button11->click();
    QCOMPARE(dialogs_.fileDialogs.constLast().kind, FileDialogRequest::Folder);
    const CompilerSettings q2tools{Suite::Q2tools, "D:\\q2tools",         "", CompileWay::Console,
                                   true,           report::Engine::Q2pro, {}, false};
    QCOMPARE(form.compilerSettings(), q2tools);
    QCOMPARE(readCompilerSettings(ini.fileName()), q2tools);
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray written = ini.readAll();
    ini.close(); // an open file cannot be replaced on Windows
    for (const char* key : {"suite=q2tools", "way=console", "stopAtFirstFailure=true",
                            "reuseVis=false", "engine=q2pro", "y=z"})
        QVERIFY2(written.contains(key), written.constData());
    QVERIFY(!form.CheckBox2->isEnabled() && form.CheckBox2->isChecked());
    QCOMPARE(form.CheckBox2->toolTip(),
             "qbsp3 -glview when checked \u2014 not available with q2tools-220");
    QCOMPARE(form.CheckBox10->toolTip(), "q2tool -bsp -chop x when checked");

    answer(2, QString(), QDialog::Accepted);
    form.Button11->click();
    for (QScrollBar* bar : {form.ScrollBar1, form.ScrollBar2, form.ScrollBar3, form.ScrollBar4})
        QVERIFY(!bar->isEnabled() && bar->toolTip().endsWith("not available with ericw-tools"));
    QVERIFY(form.ScrollBar5->isEnabled() && form.Edit1->isEnabled() &&
            !form.CheckBox1->isEnabled());
    QCOMPARE(form.CheckBox31->toolTip(), "run vis when checked");

    // Back to id's tools: every widget and hint as before.
    answer(0, QString(), QDialog::Accepted);
    form.Button11->click();
    QVERIFY(form.CheckBox2->isEnabled() && form.CheckBox2->isChecked() &&
            form.ScrollBar1->isEnabled());
    for (int box = 1; box <= 32; ++box)
        QCOMPARE(form.checkBox(box)->toolTip(), form1::checkBoxLayouts[box - 1].hint);
}

void tst_CompilersDialog::failedWrite()
{
    TForm1 form(dialogs_, dir_.filePath("missing/"));
    answer(1, "D:\\tools", QDialog::Accepted);
    form.Button11->click();
    QCOMPARE(dialogs_.messageTexts(),
             QStringList{"Cannot create file " + dir_.filePath("missing/brushwright.ini.")});
    QCOMPARE(form.compilerSettings(), CompilerSettings{});
    QVERIFY(form.CheckBox1->isEnabled());
}

// The mod field offers the game folder's folders with a maps folder; OK
// takes one folder name, and refuses anything else with a box, saving
// nothing and keeping the dialog open.
void tst_CompilersDialog::modFolder_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");   // when accepted
    QTest::addColumn<QString>("problem"); // empty: accepted
    QTest::newRow("a listed mod") << "jam1"
                                  << "jam1"
                                  << "";
    QTest::newRow("baseq2 is no mod") << "BaseQ2"
                                      << ""
                                      << "";
    const std::pair<const char*, const char*> refused[] = {
        {"jam1 ", "a blank"},   {"my mod", "a blank"}, {"jam1/maps", "\"/\""},
        {"..\\jam1", "\"\\\""}, {"..", "\"..\""},      {"C:jam1", "\":\""},
        {"%OS%", "\"%\""},      {"jam\"1", "\"\"\""},  {"jam\x01", "a control character (U+0001)"},
    };
    for (const auto& [typed, problem] : refused)
        QTest::newRow(typed) << typed << "" << QStringLiteral("it holds ") + problem;
}

void tst_CompilersDialog::modFolder()
{
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    QFETCH(QString, problem);
    RecordingDialogs dialogs;
    const QTemporaryDir dir;
    const QString game = dir.filePath("game");
    for (const char* folder : {"baseq2/maps", "jam1/maps", "zaero/maps", "notamod/pics"})
        QVERIFY(QDir(game).mkpath(folder));
    TForm1 form(dialogs, dir.path() + '/');
    form.gameDirectory = game;
    QStringList offered;
    dialogs.modalAnswers.push_back([&](QDialog& shown) {
        auto& dialog = dynamic_cast<CompilersDialog&>(shown);
        for (int i = 0; i < dialog.modBox->count(); ++i)
            offered << dialog.modBox->itemText(i);
        dialog.modBox->setCurrentText(typed);
        dialog.accept();
        return dialog.result();
    });
    form.Button11->click();
    QCOMPARE(offered, QStringList({"", "jam1", "zaero"}));
    const QString ini = dir.filePath("brushwright.ini");
    QCOMPARE(readCompilerSettings(ini).mod, saved);
    QCOMPARE(form.compilerSettings().mod, saved);
    if (problem.isEmpty()) {
        QVERIFY(dialogs.messages.empty());
        // The map dialog opens in the mod's maps folder.
        if (!saved.isEmpty())
            QCOMPARE(form.OpenDialog2.initialFolder, game + "\\jam1\\maps");
        return;
    }
    QCOMPARE(dialogs.messageTexts(),
             QStringList{"The mod folder \"" + typed + "\" cannot be used: " + problem +
                         ". A mod is the name of one folder inside the "
                         "game folder, such as jam1."});
    QVERIFY(!QFile::exists(ini));
}

QTEST_MAIN(tst_CompilersDialog)
#include "tst_CompilersDialog.moc"
