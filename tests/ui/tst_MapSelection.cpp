// Choosing the map: by the folder button and its dialog, and from the
// command line at start-up.
#include "RecordingDialogs.h"
#include "TestEnvironment.h"
#include "platform/FileAge.h"
#include "platform/SystemColors.h"
#include "ui/TForm1.h"

#include <QCheckBox>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

class tst_MapSelection : public QObject {
    Q_OBJECT

private slots:
    void init();

    void dialogPath_data();
    void dialogPath();
    void dialogRequest();
    void cancelledDialogKeepsState();
    void lastChoiceOfferedAgain();
    void timestampOfMapInMapsFolder();
    void commandLine_data();
    void commandLine();
    void emptyArgumentOpensDialog();

private:
    void startUp(const QString& argument);

    std::unique_ptr<QTemporaryDir> dir_;
    RecordingDialogs dialogs_;
    std::unique_ptr<TForm1> form_;
};

void tst_MapSelection::init()
{
    dialogs_ = RecordingDialogs();
    dir_ = std::make_unique<QTemporaryDir>();
    form_ = std::make_unique<TForm1>(dialogs_, dir_->path() + QLatin1Char('/'));
    form_->Edit4->setText(dir_->filePath(QStringLiteral("q2")));
}

void tst_MapSelection::startUp(const QString& argument)
{
    const QString folder = dir_->path() + QLatin1Char('/');
    writeBytes(folder + "settings.builtin",
               crlf({"1", "0", "0", "0", "0", "0", dir_->filePath("q2"), "0", "0", "0"}));
    const QStringList optionSet =
        optionSetLines({"0", "0", "100", "40", "100", "0", "196", "1", "1", "1"});
    writeBytes(folder + "lastused.builtin", crlf(optionSet));
    form_->FormCreate(argument);
}

void tst_MapSelection::dialogPath_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("mapName");
    QTest::newRow("maps folder") << "C:\\quake2\\baseq2\\maps\\base1.map"
                                 << "base1";
    QTest::newRow("elsewhere") << "D:\\work\\test.map"
                               << "test";
    QTest::newRow("first point") << "C:\\maps\\a.b.map"
                                 << "a";
    QTest::newRow("only extension") << "C:\\maps\\.map"
                                    << "";
    QTest::newRow("drive only") << "D:x.map"
                                << "x";
#ifndef _WIN32
    // Only where "/" separates folders.
    QTest::newRow("posix path") << "/home/me/q2/baseq2/maps/dm1.map"
                                << "dm1";
#endif
}

void tst_MapSelection::dialogPath()
{
    QFETCH(QString, chosen);
    QFETCH(QString, mapName);
    dialogs_.fileAnswers.push_back(chosen);
    form_->SpeedButton1->click();
    QCOMPARE(form_->mapName, mapName);
    QCOMPARE(form_->Label19->text(), mapName);
    QCOMPARE(form_->Label19->palette().color(QPalette::WindowText),
             platform::systemColor(platform::ColorWindowText));
    QVERIFY(form_->Button3->isEnabled());
    QVERIFY(form_->Button7->isEnabled());
    QVERIFY(form_->CheckBox35->isEnabled());
    // No such file in the maps folder.
    QCOMPARE(form_->mapTimestamp, -1);
}

void tst_MapSelection::dialogRequest()
{
    form_->SpeedButton1->click();
    QCOMPARE(dialogs_.fileDialogs.size(), 1);
    FileDialogRequest expected;
    expected.kind = FileDialogRequest::Open;
    expected.title = QStringLiteral("load uncompiled map");
    expected.filter = QStringLiteral("q2 uncompiled map|*.map");
    expected.defaultExtension = QStringLiteral("*.map");
    expected.options = FileDialogRequest::HideReadOnly | FileDialogRequest::PathMustExist |
                       FileDialogRequest::FileMustExist | FileDialogRequest::EnableSizing;
    QCOMPARE(dialogs_.fileDialogs[0], expected);
}

void tst_MapSelection::cancelledDialogKeepsState()
{
    form_->SpeedButton1->click();
    QCOMPARE(form_->mapName, QString());
    QCOMPARE(form_->Label19->text(), QStringLiteral("warning: no map selected"));
    QCOMPARE(form_->Label19->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QVERIFY(!form_->Button3->isEnabled());
    QVERIFY(!form_->Button7->isEnabled());
    QVERIFY(!form_->CheckBox35->isEnabled());
    QCOMPARE(form_->mapTimestamp, 0);

    dialogs_.fileAnswers.push_back(QStringLiteral("C:\\q2\\baseq2\\maps\\base1.map"));
    form_->SpeedButton1->click();
    form_->mapTimestamp = 1234;
    form_->SpeedButton1->click(); // cancelled
    QCOMPARE(form_->mapName, QStringLiteral("base1"));
    QCOMPARE(form_->mapTimestamp, 1234);
    QVERIFY(form_->Button3->isEnabled());
}

void tst_MapSelection::lastChoiceOfferedAgain()
{
    dialogs_.fileAnswers.push_back(QStringLiteral("C:\\q2\\baseq2\\maps\\base1.map"));
    form_->SpeedButton1->click();
    form_->SpeedButton1->click();
    QCOMPARE(dialogs_.fileDialogs[0].fileName, QString());
    QCOMPARE(dialogs_.fileDialogs[1].fileName, QStringLiteral("C:\\q2\\baseq2\\maps\\base1.map"));
}

void tst_MapSelection::timestampOfMapInMapsFolder()
{
    // The map is addressed in the maps folder, wherever it was chosen.
    const QString inMaps = dir_->filePath(QStringLiteral("q2/baseq2/maps/base1.map"));
    writeBytes(inMaps, "{\n}\n");
    QFile file(inMaps);
    QVERIFY(file.open(QIODevice::ReadWrite));
    const QDateTime when(QDate(2024, 5, 17), QTime(13, 45, 30));
    QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
    file.close();
    dialogs_.fileAnswers.push_back(QStringLiteral("E:\\elsewhere\\base1.map"));
    form_->SpeedButton1->click();
    QCOMPARE(form_->mapTimestamp, platform::packDosDateTime(2024, 5, 17, 13, 45, 30));
}

void tst_MapSelection::commandLine_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("mapName");
    QTest::newRow("bare") << "base1"
                          << "base1";
    QTest::newRow("extension") << "base1.map"
                               << "base1";
    QTest::newRow("folder kept") << "maps\\base1.map"
                                 << "maps\\base1";
    QTest::newRow("first point in folder") << "C:\\q2.old\\maps\\x.map"
                                           << "C:\\q2";
}

void tst_MapSelection::commandLine()
{
    QFETCH(QString, argument);
    QFETCH(QString, mapName);
    startUp(argument);
    QCOMPARE(dialogs_.fileDialogs.size(), 0);
    QCOMPARE(dialogs_.messages.size(), 0);
    QCOMPARE(form_->mapName, mapName);
    QCOMPARE(form_->Label19->text(), mapName);
    QVERIFY(form_->Button3->isEnabled());
    QVERIFY(form_->CheckBox35->isEnabled());
}

void tst_MapSelection::emptyArgumentOpensDialog()
{
    startUp(QString());
    QCOMPARE(dialogs_.fileDialogs.size(), 1);
    QCOMPARE(dialogs_.fileDialogs[0].initialFolder,
             dir_->filePath(QStringLiteral("q2")) + QStringLiteral("\\baseq2\\maps"));
    QCOMPARE(form_->Label19->text(), QStringLiteral("warning: no map selected"));
    QVERIFY(!form_->Button3->isEnabled());
}

QTEST_MAIN(tst_MapSelection)
#include "tst_MapSelection.moc"
