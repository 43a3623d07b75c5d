// What the main window does when it is created and when it closes.
#include "RecordingDialogs.h"
#include "TestEnvironment.h"
#include "platform/TextFile.h"
#include "ui/TForm1.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

QStringList settingsLines(const QString& startChoice, const QString& gameDirectory)
{
    return {startChoice, "1", "0", "1", "0", "3", gameDirectory, "1", "0", "0"};
}

// "write plane info to file" on, the rest of the flags off.
QStringList optionSet(const QString& edit1, const QString& scale)
{
    QStringList lines = optionSetLines({edit1, "8", scale, "0", "100", "0", "196", "1", "0", "1"});
    lines[2] = QStringLiteral("1");
    return lines;
}

} // namespace

class tst_StartUpShutDown : public QObject {
    Q_OBJECT

private slots:
    void init();

    void startUp();
    void startChoice_data();
    void startChoice();
    void missingSettingsFile();
    void shortSettingsFile_data();
    void shortSettingsFile();
    void shortSettingsFileRewriteFails();
    void missingOptionSetFile();
    void autocompileRestored();
    void shortOptionSetFileStillTakesMap();

    void shutDownWritesBothFiles();
    void shutDownRoundTrip();
    void settingsOutsideAnsiSurvive();
    void shutDownUnwritableFolder_data();
    void shutDownUnwritableFolder();
    void shutDownLastUsedFails();

private:
    QString file(const QString& name) const { return folder_ + name; }
    void writeDefaults();

    std::unique_ptr<QTemporaryDir> dir_;
    QString folder_;
    RecordingDialogs dialogs_;
    std::unique_ptr<TForm1> form_;
};

void tst_StartUpShutDown::init()
{
    dialogs_ = RecordingDialogs();
    dir_ = std::make_unique<QTemporaryDir>();
    folder_ = dir_->path() + QLatin1Char('/');
    form_ = std::make_unique<TForm1>(dialogs_, folder_);
}

void tst_StartUpShutDown::writeDefaults()
{
    writeBytes(file("settings.builtin"), crlf(settingsLines("1", "C:\\Quake2")));
    writeBytes(file("default.builtin"), crlf(optionSet("from default", "100")));
    writeBytes(file("lastused.builtin"), crlf(optionSet("from lastused", "0")));
}

void tst_StartUpShutDown::startUp()
{
    writeDefaults();
    form_->CheckBox36->setChecked(true);
    form_->FormCreate(QStringLiteral("base1"));
    TForm1& f = *form_;
    QCOMPARE(dialogs_.messages.size(), 0);
    QVERIFY(f.RadioButton2->isChecked());
    QVERIFY(f.CheckBox26->isChecked());
    QVERIFY(!f.CheckBox27->isChecked());
    QVERIFY(f.CheckBox28->isChecked());
    QCOMPARE(f.Edit3->text(), QStringLiteral("3"));
    QCOMPARE(f.Edit4->text(), QStringLiteral("C:\\Quake2"));
    QCOMPARE(f.gameDirectory, QStringLiteral("C:\\Quake2"));
    QVERIFY(f.CheckBox33->isChecked());
    QCOMPARE(f.Edit1->text(), QStringLiteral("from lastused"));
    QVERIFY(f.CheckBox2->isChecked());
    QVERIFY(!f.CheckBox31->isChecked());
    // The sliders went through 0, so a loaded 0 shows 0 and every other
    // position has its light value.
    QCOMPARE(f.ScrollBar1->value(), 0);
    QCOMPARE(f.Label12->text(), QStringLiteral("0"));
    QCOMPARE(f.Panel1->palette().color(QPalette::Window), QColor(0, 0, 0));
    QCOMPARE(f.lightValues, (std::array<double, 5>{0, 0, 1, 0, 196}));
    QCOMPARE(f.SaveDialog1.initialFolder, folder_);
    QCOMPARE(f.OpenDialog1.initialFolder, folder_);
    QCOMPARE(f.SaveDialog2.initialFolder, QStringLiteral("C:\\Quake2\\baseq2\\maps"));
    QCOMPARE(f.OpenDialog2.initialFolder, QStringLiteral("C:\\Quake2\\baseq2\\maps"));
    QCOMPARE(f.mapName, QStringLiteral("base1"));
    // "deathmatch" is stored nowhere and so not restored.
    QVERIFY(f.CheckBox36->isChecked());
    QVERIFY(!f.isEndRequested());
}

void tst_StartUpShutDown::startChoice_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("loaded");
    QTest::newRow("0") << "0"
                       << "from default";
    QTest::newRow("1") << "1"
                       << "from lastused";
    QTest::newRow("2") << "2"
                       << "from lastused";
    QTest::newRow("empty") << ""
                           << "from lastused";
}

void tst_StartUpShutDown::startChoice()
{
    QFETCH(QString, line);
    QFETCH(QString, loaded);
    writeDefaults();
    writeBytes(file("settings.builtin"), crlf(settingsLines(line, "C:\\Quake2")));
    form_->FormCreate(QStringLiteral("base1"));
    QCOMPARE(form_->Edit1->text(), loaded);
    QCOMPARE(form_->RadioButton1->isChecked(), line == QLatin1String("0"));
}

void tst_StartUpShutDown::missingSettingsFile()
{
    writeDefaults();
    QFile::remove(file("settings.builtin"));
    form_->FormCreate(QString());
    QCOMPARE(dialogs_.messageTexts(), QStringList{QStringLiteral("Cannot open file ") +
                                                  file("settings.builtin") + QLatin1Char('.')});
    // Nothing after it ran: no option set, no folders, no map dialog.
    QCOMPARE(dialogs_.fileDialogs.size(), 0);
    QCOMPARE(form_->Edit1->text(), QStringLiteral("0"));
    QCOMPARE(form_->ScrollBar1->value(), 100);
    QCOMPARE(form_->Label12->text(), QStringLiteral("1"));
    QCOMPARE(form_->lightValues, (std::array<double, 5>{}));
    QCOMPARE(form_->gameDirectory, QString());
    QCOMPARE(form_->OpenDialog2.initialFolder, QString());
    QCOMPARE(form_->SaveDialog1.initialFolder, QString());

    // The first shut-down writes both files, so the next start finds them.
    form_->FormClose();
    QCOMPARE(readBytes(file("settings.builtin")),
             crlf({"1", "0", "0", "0", "0", "0", "", "0", "0", "0"}));
    QVERIFY(readBytes(file("lastused.builtin")).startsWith("Modify at your own risk!\r\n"));
}

void tst_StartUpShutDown::shortSettingsFile_data()
{
    QTest::addColumn<bool>("answerYes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void tst_StartUpShutDown::shortSettingsFile()
{
    QFETCH(bool, answerYes);
    writeDefaults();
    const QByteArray seven = crlf(settingsLines("1", "C:\\Q2").mid(0, 7));
    writeBytes(file("settings.builtin"), seven);
    dialogs_.messageAnswers.push_back(answerYes ? QMessageBox::Yes : QMessageBox::No);
    QSignalSpy ended(form_.get(), &TForm1::endRequested);
    form_->FormCreate(QStringLiteral("base1"));

    QCOMPARE(dialogs_.messages.size(), 1);
    const QString settingsPath = file("settings.builtin");
    QCOMPARE(dialogs_.messages[0].title, QStringLiteral("Confirm"));
    QCOMPARE(dialogs_.messages[0].text,
             QStringLiteral("Error loading ") + settingsPath +
                 QStringLiteral(". This is most likely a version incompatability. Patch ") +
                 settingsPath + QLatin1Char('?'));
    QCOMPARE(ended.count(), 1);
    if (answerYes)
        QCOMPARE(readBytes(settingsPath),
                 crlf({"1", "1", "0", "1", "0", "3", "C:\\Q2", "0", "0", "0"}));
    else
        QCOMPARE(readBytes(settingsPath), seven);
    // Start-up still went on to its end.
    QCOMPARE(form_->Edit1->text(), QStringLiteral("from lastused"));
    QCOMPARE(form_->ScrollBar3->value(), 100);
    QCOMPARE(form_->OpenDialog2.initialFolder, QStringLiteral("C:\\Q2\\baseq2\\maps"));
    QCOMPARE(form_->mapName, QStringLiteral("base1"));
}

void tst_StartUpShutDown::shortSettingsFileRewriteFails()
{
    writeDefaults();
    const QByteArray seven = crlf(settingsLines("1", "C:\\Q2").mid(0, 7));
    writeBytes(file("settings.builtin"), seven);
    dialogs_.messageAnswers.push_back(QMessageBox::Yes);
    QSignalSpy ended(form_.get(), &TForm1::endRequested);
    {
        const WriteFailure failure(file("settings.builtin"));
        form_->FormCreate(QStringLiteral("base1"));
    }
    QCOMPARE(dialogs_.messages.size(), 2);
    QCOMPARE(dialogs_.messages[1].text,
             QStringLiteral("Cannot create file ") + file("settings.builtin") + QLatin1Char('.'));
    // No end request, and nothing after the question ran.
    QCOMPARE(ended.count(), 0);
    QCOMPARE(readBytes(file("settings.builtin")), seven);
    QCOMPARE(form_->ScrollBar1->value(), 100);
    QCOMPARE(form_->Edit1->text(), QStringLiteral("0"));
    QCOMPARE(form_->mapName, QString());
}

void tst_StartUpShutDown::missingOptionSetFile()
{
    writeDefaults();
    QFile::remove(file("lastused.builtin"));
    form_->FormCreate(QStringLiteral("base1"));
    QCOMPARE(dialogs_.messageTexts(), QStringList{QStringLiteral("Cannot open file ") +
                                                  file("lastused.builtin") + QLatin1Char('.')});
    QCOMPARE(form_->gameDirectory, QStringLiteral("C:\\Quake2"));
    QCOMPARE(form_->ScrollBar1->value(), 0);
    QCOMPARE(form_->OpenDialog2.initialFolder, QString());
    QCOMPARE(form_->mapName, QString());
    QVERIFY(!form_->Button3->isEnabled());
}

void tst_StartUpShutDown::autocompileRestored()
{
    writeDefaults();
    QStringList lines = settingsLines("1", "C:\\Quake2");
    lines[9] = "1";
    writeBytes(file("settings.builtin"), crlf(lines));
    form_->FormCreate(QString()); // the map dialog is cancelled
    QCOMPARE(dialogs_.fileDialogs.size(), 1);
    QVERIFY(form_->CheckBox35->isChecked());
    QVERIFY(!form_->CheckBox35->isEnabled());
    QVERIFY(form_->Timer1->isActive());
    // The watcher looks at the file of the empty name: none there.
    QCOMPARE(form_->mapTimestamp, -1);
}

void tst_StartUpShutDown::shortOptionSetFileStillTakesMap()
{
    writeDefaults();
    writeBytes(file("lastused.builtin"), crlf(optionSet("x", "0").mid(0, 33)));
    QSignalSpy ended(form_.get(), &TForm1::endRequested);
    form_->FormCreate(QStringLiteral("base1"));
    QCOMPARE(ended.count(), 1);
    QCOMPARE(dialogs_.messages.size(), 1);
    QCOMPARE(form_->OpenDialog2.initialFolder, QStringLiteral("C:\\Quake2\\baseq2\\maps"));
    QCOMPARE(form_->mapName, QStringLiteral("base1"));
}

void tst_StartUpShutDown::shutDownWritesBothFiles()
{
    writeDefaults();
    form_->FormCreate(QStringLiteral("base1"));
    QFile::remove(file("settings.builtin"));
    QFile::remove(file("lastused.builtin"));
    form_->show();
    QSignalSpy ended(form_.get(), &TForm1::endRequested);
    form_->Button4->click(); // nothing changed, both are written all the same
    QVERIFY(!form_->isVisible());
    QCOMPARE(ended.count(), 1);
    QCOMPARE(readBytes(file("settings.builtin")), crlf(settingsLines("1", "C:\\Quake2")));
    QCOMPARE(readBytes(file("lastused.builtin")), crlf(optionSet("from lastused", "0")));
}

void tst_StartUpShutDown::shutDownRoundTrip()
{
    writeDefaults();
    form_->FormCreate(QStringLiteral("base1"));
    form_->RadioButton1->setChecked(true);
    // Accented, and longer than a text field takes by default.
    const QString game = QStringLiteral("D:\\J\u00f6rg\\") + QString(40'000, 'q') + " ";
    form_->Edit4->setText(game);
    form_->CheckBox34->setChecked(true);
    form_->Edit3->setText(QStringLiteral(" 8"));
    form_->FormClose();
    // Line 6 as the Windows program writes it: the ANSI code page.
    QCOMPARE(textfile::splitLines(readBytes(file("settings.builtin"))).value(6), game);
    QVERIFY(readBytes(file("settings.builtin"))
                .contains(platform::encodeText(game, platform::CodePage::Ansi)));

    RecordingDialogs dialogs;
    TForm1 next(dialogs, folder_);
    next.FormCreate(QStringLiteral("base1"));
    QVERIFY(next.RadioButton1->isChecked());
    QCOMPARE(next.gameDirectory, game);
    QVERIFY(next.CheckBox34->isChecked());
    QCOMPARE(next.Edit3->text(), QStringLiteral(" 8"));
    QCOMPARE(next.Edit1->text(), QStringLiteral("from default"));
    QCOMPARE(next.OpenDialog2.initialFolder, game + QStringLiteral("\\baseq2\\maps"));
}

void tst_StartUpShutDown::settingsOutsideAnsiSurvive()
{
    writeDefaults();
    // A game folder no ANSI code page writes whole: the file is UTF-8, and
    // a start and a shut-down leave it as it was, byte for byte.
    const QString game = QStringLiteral("D:\\Quake2 \u0160\u0107\u017e \u2603");
    QByteArray utf8;
    for (const QString& line : settingsLines("1", game))
        utf8 += line.toUtf8() + "\r\n";
    writeBytes(file("settings.builtin"), utf8);
    form_->FormCreate(QStringLiteral("base1"));
    QCOMPARE(form_->gameDirectory, game);
    form_->FormClose();
    QCOMPARE(readBytes(file("settings.builtin")), utf8);
}

void tst_StartUpShutDown::shutDownUnwritableFolder_data()
{
    QTest::addColumn<bool>("closeAnyway");
    QTest::newRow("keep open") << false;
    QTest::newRow("close without saving") << true;
}

void tst_StartUpShutDown::shutDownUnwritableFolder()
{
    QFETCH(bool, closeAnyway);
    // A program folder below a regular file cannot be written.
    writeBytes(dir_->filePath("blocker"), "x");
    const QString folder = dir_->filePath("blocker") + QLatin1Char('/');
    TForm1 form(dialogs_, folder);
    form.show();
    QSignalSpy ended(&form, &TForm1::endRequested);
    dialogs_.messageAnswers.push_back(QMessageBox::Ok);
    dialogs_.messageAnswers.push_back(closeAnyway ? QMessageBox::Yes : QMessageBox::No);
    form.Button4->click();

    QCOMPARE(dialogs_.messages.size(), 2);
    QCOMPARE(dialogs_.messages[0].text,
             QStringLiteral("Cannot create file ") + folder + QStringLiteral("settings.builtin."));
    QCOMPARE(dialogs_.messages[0].icon, QMessageBox::Critical);
    const MessageBoxRequest& question = dialogs_.messages[1];
    QCOMPARE(question.title, QStringLiteral("Confirm"));
    QCOMPARE(question.text, QStringLiteral("Close Brushwright without saving its settings?"));
    QCOMPARE(question.icon, QMessageBox::Question);
    QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(question.defaultButton, QMessageBox::No);
    QCOMPARE(form.isVisible(), !closeAnyway);
    QCOMPARE(ended.count(), closeAnyway ? 1 : 0);
}

void tst_StartUpShutDown::shutDownLastUsedFails()
{
    writeDefaults();
    form_->FormCreate(QStringLiteral("base1"));
    QFile::remove(file("lastused.builtin"));
    QVERIFY(QDir().mkdir(file("lastused.builtin"))); // a folder in its place
    QFile::remove(file("settings.builtin"));
    form_->show();
    dialogs_.messageAnswers.push_back(QMessageBox::Ok);
    dialogs_.messageAnswers.push_back(QMessageBox::No);
    form_->close();
    QCOMPARE(dialogs_.messages.size(), 2);
    QCOMPARE(dialogs_.messages[0].text,
             QStringLiteral("Cannot create file ") + file("lastused.builtin") + QLatin1Char('.'));
    QVERIFY(form_->isVisible());
    // settings.builtin was written before the failing step.
    QVERIFY(QFile::exists(file("settings.builtin")));
}

QTEST_MAIN(tst_StartUpShutDown)
#include "tst_StartUpShutDown.moc"
