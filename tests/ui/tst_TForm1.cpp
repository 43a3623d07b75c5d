// The main window as built: its controls, the configuration panel, the light
// sliders and the batch file written from the controls.
#include "RecordingDialogs.h"
#include "TestEnvironment.h"
#include "app/ProgramFont.h"
#include "batch/BatchScript.h"
#include "controls/TProBorder.h"
#include "controls/TProPanel.h"
#include "platform/Failure.h"
#include "platform/Platform.h"
#include "ui/TForm1.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <map>
#include <memory>

class tst_TForm1 : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void window();
    void checkBoxes_data();
    void checkBoxes();
    void otherControls_data();
    void otherControls();
    void tabOrder();
    void configurationPanel();
    void frames();
    void gameDirectoryFollowsEdit4();
    void dragEmptyPartMovesWindow();

    void sliderChange_data();
    void sliderChange();
    void sliderKeyboard();
    void samePositionRunsNothing();
    void lightValuesApartFromPositions();
    void readoutUnderDecimalComma();

    void saveToBatchWorkedExample();
    void saveToBatchReplacesWholeFile();
    void saveToBatchFailureKeepsOldFile();

private:
    QWidget* control(const QString& name) const;

    QTemporaryDir dir_;
    RecordingDialogs dialogs_;
    std::unique_ptr<TForm1> form_;
};

namespace {

// The caption's text fits the room the style leaves for it in the control.
bool captionFits(QAbstractButton* button)
{
    const int text = button->fontMetrics().horizontalAdvance(button->text());
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    QRect room;
    if (qobject_cast<QCheckBox*>(button))
        room = button->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, button);
    else if (qobject_cast<QRadioButton*>(button))
        room = button->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, button);
    else
        room = button->rect().adjusted(3, 0, -3, 0);
    return text <= room.width();
}

} // namespace

void tst_TForm1::initTestCase()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(programFont());
}

void tst_TForm1::init()
{
    dialogs_ = RecordingDialogs();
    form_ = std::make_unique<TForm1>(dialogs_, dir_.path() + QLatin1Char('/'));
}

void tst_TForm1::cleanup()
{
    form_.reset();
}

QWidget* tst_TForm1::control(const QString& name) const
{
    TForm1& f = *form_;
    const std::map<QString, QWidget*> controls = {
        {"Label1", f.Label1},
        {"Label19", f.Label19},
        {"SpeedButton1", f.SpeedButton1},
        {"Button6", f.Button6},
        {"Button5", f.Button5},
        {"Button4", f.Button4},
        {"Button3", f.Button3},
        {"Button2", f.Button2},
        {"Button1", f.Button1},
        {"Button8", f.Button8},
        {"Button7", f.Button7},
        {"ProPanel1", f.ProPanel1},
        {"Edit1", f.Edit1},
        {"Edit2", f.Edit2},
        {"Edit3", f.Edit3},
        {"Edit4", f.Edit4},
        {"Button10", f.Button10},
        {"Button11", f.Button11},
        {"RadioButton1", f.RadioButton1},
        {"RadioButton2", f.RadioButton2},
        {"ScrollBar1", f.ScrollBar1},
        {"ScrollBar5", f.ScrollBar5},
        {"Label12", f.Label12},
        {"Label16", f.Label16},
        {"Panel1", f.Panel1},
        {"Panel5", f.Panel5},
    };
    return controls.at(name);
}

void tst_TForm1::window()
{
    QCOMPARE(form_->size(), QSize(393, 497));
    QCOMPARE(form_->windowTitle(), QStringLiteral("Brushwright"));
    QVERIFY(form_->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(!form_->Timer1->isActive());
    QCOMPARE(form_->Timer1->interval(), 500);
    QCOMPARE(form_->Timer1->timerType(), Qt::PreciseTimer);
    QCOMPARE(form_->gameDirectory, QString());
    QCOMPARE(form_->mapName, QString());
    QCOMPARE(form_->mapTimestamp, 0);
}

void tst_TForm1::checkBoxes_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("CheckBox30") << 30 << QRect(24, 40, 78, 17) << "bsp options"
                                << "run qbsp3 when checked" << true << true;
    QTest::newRow("CheckBox1") << 1 << QRect(8, 56, 185, 17) << "combine brushlists of child nodes"
                               << "qbsp3 -noprune when unchecked" << false << true;
    QTest::newRow("CheckBox5") << 5 << QRect(8, 120, 185, 17) << "only vis enteties"
                               << "qbsp3 -onlyents when checked" << false << true;
    QTest::newRow("CheckBox10") << 10 << QRect(8, 216, 185, 17) << "subdivide faces larger than"
                                << "qbsp3 -chop x when checked" << false << true;
    QTest::newRow("CheckBox11") << 11 << QRect(8, 200, 185, 17) << "throw out identical edges"
                                << "qbsp3 -noshare when unchecked" << false << true;
    QTest::newRow("CheckBox31") << 31 << QRect(24, 320, 73, 17) << "vis options"
                                << "run qvis3 when checked" << true << true;
    QTest::newRow("CheckBox18") << 18 << QRect(8, 352, 185, 17)
                                << "sort portals by mightsee variable"
                                << "qvis3 -nosort when unchecked" << false << true;
    QTest::newRow("CheckBox32") << 32 << QRect(216, 40, 81, 17) << "light options"
                                << "run qrad3 when checked" << true << true;
    QTest::newRow("CheckBox25") << 25 << QRect(200, 136, 185, 17) << "check PVS bit"
                                << "qrad3 -nopvs when unchecked" << false << true;
    QTest::newRow("CheckBox26") << 26 << QRect(200, 376, 185, 17) << "threads to use"
                                << "for computers with multiple processors" << false << true;
    QTest::newRow("CheckBox28") << 28 << QRect(200, 408, 185, 17) << "close on compile"
                                << "close brushwright when compile starts when checked" << false
                                << true;
    QTest::newRow("CheckBox33") << 33 << QRect(200, 440, 185, 17) << "pause after compiling"
                                << "\"press any key to continue\" before closing batch file"
                                << false << true;
    QTest::newRow("CheckBox34") << 34 << QRect(200, 456, 185, 17) << "pause between each process"
                                << "\"press any key to continue\" after qbsp3, qvis3, and qrad3"
                                << false << true;
    QTest::newRow("CheckBox35") << 35 << QRect(200, 472, 185, 17) << "autocompile"
                                << "whenever map is saved, prompt to compile" << false << false;
    QTest::newRow("CheckBox36") << 36 << QRect(288, 472, 89, 17) << "deathmatch"
                                << "run quake ii as deathmatch" << false << true;
}

void tst_TForm1::checkBoxes()
{
    QFETCH(int, number);
    QCheckBox* box = form_->checkBox(number);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    QFETCH(bool, checked);
    QFETCH(bool, enabled);
    QCOMPARE(box->geometry(), geometry);
    QCOMPARE(box->text(), caption);
    QCOMPARE(box->toolTip(), hint);
    QCOMPARE(box->isChecked(), checked);
    QCOMPARE(box->isEnabled(), enabled);
    QVERIFY2(captionFits(box), qPrintable(caption));
}

void tst_TForm1::otherControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("Label1") << "Label1" << QRect(8, 8, 132, 13) << "brushwright" << true;
    QTest::newRow("SpeedButton1") << "SpeedButton1" << QRect(152, 8, 24, 24) << "" << true;
    QTest::newRow("Button6") << "Button6" << QRect(176, 8, 48, 24) << "menu" << true;
    QTest::newRow("Button5") << "Button5" << QRect(224, 8, 56, 24) << "about..." << true;
    QTest::newRow("Button4") << "Button4" << QRect(280, 8, 48, 24) << "cancel" << true;
    QTest::newRow("Button3") << "Button3" << QRect(328, 8, 57, 24) << "compile" << false;
    QTest::newRow("Button2") << "Button2" << QRect(8, 416, 104, 24) << "save as preset..." << true;
    QTest::newRow("Button1") << "Button1" << QRect(112, 416, 80, 24) << "load preset..." << true;
    QTest::newRow("Button8") << "Button8" << QRect(8, 440, 184, 24) << "load default settings"
                             << true;
    QTest::newRow("Button7") << "Button7" << QRect(8, 464, 184, 24) << "save as batch file..."
                             << false;
    QTest::newRow("ProPanel1") << "ProPanel1" << QRect(200, 24, 137, 185) << "" << true;
    QTest::newRow("Edit1") << "Edit1" << QRect(160, 214, 33, 21) << "0" << true;
    QTest::newRow("Edit2") << "Edit2" << QRect(352, 70, 33, 21) << "0" << true;
    QTest::newRow("Edit3") << "Edit3" << QRect(352, 374, 33, 21) << "0" << true;
    QTest::newRow("Edit4") << "Edit4" << QRect(8, 84, 121, 21) << "" << true;
    QTest::newRow("Button10") << "Button10" << QRect(8, 120, 121, 25) << "ok" << true;
    QTest::newRow("Button11") << "Button11" << QRect(8, 152, 121, 25) << "compilers..." << true;
    QTest::newRow("RadioButton1") << "RadioButton1" << QRect(8, 27, 97, 17) << "default settings"
                                  << true;
    QTest::newRow("RadioButton2") << "RadioButton2" << QRect(8, 44, 105, 17) << "last used settings"
                                  << true;
    QTest::newRow("ScrollBar1") << "ScrollBar1" << QRect(200, 176, 161, 16) << "" << true;
    QTest::newRow("ScrollBar5") << "ScrollBar5" << QRect(200, 336, 161, 16) << "" << true;
    QTest::newRow("Label12") << "Label12" << QRect(320, 160, 65, 13) << "1" << true;
    QTest::newRow("Label16") << "Label16" << QRect(320, 320, 65, 13) << "196" << true;
    QTest::newRow("Panel1") << "Panel1" << QRect(368, 176, 17, 16) << "" << true;
    QTest::newRow("Panel5") << "Panel5" << QRect(368, 336, 17, 16) << "" << true;
}

void tst_TForm1::otherControls()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(bool, enabled);
    QWidget* widget = control(name);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->isEnabled(), enabled);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        QCOMPARE(button->text(), text);
        QVERIFY2(captionFits(button), qPrintable(text));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        QCOMPARE(label->text(), text);
        QVERIFY(label->fontMetrics().horizontalAdvance(text) <= geometry.width());
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        QCOMPARE(edit->text(), text);
    }
}

void tst_TForm1::tabOrder()
{
    TForm1& f = *form_;
    // Tab indices 0 to 57 as the window is laid out; the panel's children
    // come at its place (47) in their own order.
    const QList<QWidget*> expected = {
        f.CheckBox1,  f.CheckBox2,    f.CheckBox3,    f.CheckBox4,  f.CheckBox5,  f.CheckBox6,
        f.CheckBox7,  f.CheckBox8,    f.CheckBox9,    f.Edit1,      f.CheckBox11, f.CheckBox10,
        f.CheckBox12, f.CheckBox13,   f.CheckBox14,   f.CheckBox15, f.CheckBox16, f.CheckBox17,
        f.CheckBox18, f.CheckBox19,   f.CheckBox20,   f.CheckBox21, f.CheckBox22, f.CheckBox23,
        f.ScrollBar1, f.Edit2,        f.ScrollBar2,   f.ScrollBar3, f.ScrollBar4, f.ScrollBar5,
        f.CheckBox24, f.CheckBox25,   f.CheckBox26,   f.Edit3,      f.CheckBox27, f.CheckBox28,
        f.Button1,    f.Button2,      f.Button3,      f.Button4,    f.Button5,    f.Button6,
        f.Button10,   f.RadioButton1, f.RadioButton2, f.Edit4,      f.Button11,   f.CheckBox29,
        f.CheckBox30, f.CheckBox31,   f.CheckBox32,   f.Button8,    f.Button7,    f.CheckBox33,
        f.CheckBox34, f.CheckBox35,   f.CheckBox36,
    };
    for (qsizetype i = 1; i < expected.size(); ++i)
        QCOMPARE(expected[i - 1]->nextInFocusChain(), expected[i]);
    QCOMPARE(f.SpeedButton1->focusPolicy(), Qt::NoFocus);
}

void tst_TForm1::configurationPanel()
{
    form_->show();
    QVERIFY(!form_->ProPanel1->isVisible());
    form_->Button6->click();
    QVERIFY(form_->ProPanel1->isVisible());
    // Shown, it lies above the light group's top.
    QVERIFY(form_->ProPanel1->isAncestorOf(form_->childAt(250, 60)));
    QVERIFY(form_->ProPanel1->isAncestorOf(form_->childAt(320, 165)));
    form_->Button6->click();
    QVERIFY(!form_->ProPanel1->isVisible());
    form_->Button6->click();
    form_->Button10->click();
    QVERIFY(!form_->ProPanel1->isVisible());
    // The rest of the window stays usable while it is shown.
    form_->Button6->click();
    QTest::mouseClick(form_->CheckBox1, Qt::LeftButton);
    QVERIFY(form_->CheckBox1->isChecked());
}

void tst_TForm1::frames()
{
    form_->show();
    form_->Button6->click();
    const QImage shot = form_->grab().toImage();
    const auto is = [&](int x, int y, TColor color) {
        return shot.pixel(x, y) == toQColor(color).rgb();
    };
    // The window's raised edge, two rings; the top-right and bottom-left
    // corners take the right and bottom colour.
    QVERIFY(is(0, 0, clBtnHighlight) && is(392, 0, clBtnText) && is(0, 496, clBtnText));
    QVERIFY(is(1, 1, cl3DLight) && is(391, 1, clBtnShadow) && is(1, 495, clBtnShadow));
    QVERIFY(is(392, 496, clBtnText) && is(391, 495, clBtnShadow));
    // The configuration panel's, at its place over the light group.
    QVERIFY(is(200, 24, clBtnHighlight) && is(336, 24, clBtnText) && is(200, 208, clBtnText));
    QVERIFY(is(201, 25, cl3DLight) && is(335, 207, clBtnShadow) && is(202, 26, clBtnFace));
    QCOMPARE(form_->ProBorder1->BevelWidth(), 2);
    QCOMPARE(form_->ProPanel1->contentsRect(), QRect(2, 2, 133, 181));
}

void tst_TForm1::gameDirectoryFollowsEdit4()
{
    form_->show();
    form_->Button6->click();
    form_->Edit4->setFocus();
    QTest::keyClicks(form_->Edit4, QStringLiteral("C:\\Q2"));
    QCOMPARE(form_->gameDirectory, QStringLiteral("C:\\Q2"));
    QTest::keyClick(form_->Edit4, Qt::Key_Backspace);
    QCOMPARE(form_->gameDirectory, QStringLiteral("C:\\Q"));
    form_->Edit4->clear();
    QCOMPARE(form_->gameDirectory, QString());
    form_->Edit4->setText(QStringLiteral(" no drive "));
    QCOMPARE(form_->gameDirectory, QStringLiteral(" no drive "));
}

void tst_TForm1::dragEmptyPartMovesWindow()
{
#ifdef _WIN32
    QSKIP("on Windows the window system itself moves the window (startSystemMove), "
          "which synthetic mouse events do not drive");
#endif
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    const QPoint before = form_->pos();
    const QPoint empty(150, 395); // beside the "configuration" heading
    // Only the window's frame is there, and it passes presses on.
    QCOMPARE(form_->childAt(empty), static_cast<QWidget*>(form_->ProBorder1));
    QTest::mousePress(form_.get(), Qt::LeftButton, Qt::NoModifier, empty);
    QTest::mouseMove(form_.get(), empty + QPoint(30, 20));
    QTest::mouseRelease(form_.get(), Qt::LeftButton, Qt::NoModifier, empty + QPoint(30, 20));
    QCOMPARE(form_->pos(), before + QPoint(30, 20));
}

void tst_TForm1::sliderChange_data()
{
    QTest::addColumn<int>("slider");
    QTest::addColumn<int>("position");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("readout");
    QTest::addColumn<int>("grey");

    QTest::newRow("direct 40") << 1 << 40 << 0.4 << "0.4" << 51;
    QTest::newRow("scale 0") << 0 << 0 << 0.0 << "0" << 0;
    QTest::newRow("scale 200") << 0 << 200 << 2.0 << "2" << 254;
    QTest::newRow("scale 150 ties to even") << 0 << 150 << 1.5 << "1.5" << 190;
    QTest::newRow("entity 150") << 2 << 150 << 1.5 << "1.5" << 190;
    QTest::newRow("scale 50") << 0 << 50 << 0.5 << "0.5" << 64;
    QTest::newRow("scale 155") << 0 << 155 << 1.55 << "1.55" << 197;
    QTest::newRow("scale 5") << 0 << 5 << 0.05 << "0.05" << 6;
    QTest::newRow("ambient 100") << 3 << 100 << 1.0 << "1" << 255;
    QTest::newRow("ambient 30 ties to even") << 3 << 30 << 0.3 << "0.3" << 76;
    QTest::newRow("ambient 70 ties to even") << 3 << 70 << 0.7 << "0.7" << 178;
    QTest::newRow("ambient 50") << 3 << 50 << 0.5 << "0.5" << 128;
    QTest::newRow("ambient 1") << 3 << 1 << 0.01 << "0.01" << 3;
    QTest::newRow("max 255") << 4 << 255 << 255.0 << "255" << 255;
    QTest::newRow("max 0") << 4 << 0 << 0.0 << "0" << 0;
    QTest::newRow("max 100") << 4 << 100 << 100.0 << "100" << 100;
    QTest::newRow("scale clamped above") << 0 << 250 << 2.0 << "2" << 254;
    QTest::newRow("ambient clamped above") << 3 << 1000 << 1.0 << "1" << 255;
}

void tst_TForm1::sliderChange()
{
    QFETCH(int, slider);
    QFETCH(int, position);
    QFETCH(double, value);
    QFETCH(QString, readout);
    QFETCH(int, grey);
    QScrollBar* bars[] = {form_->ScrollBar1, form_->ScrollBar2, form_->ScrollBar3,
                          form_->ScrollBar4, form_->ScrollBar5};
    QLabel* readouts[] = {form_->Label12, form_->Label13, form_->Label14, form_->Label15,
                          form_->Label16};
    QFrame* swatches[] = {form_->Panel1, form_->Panel2, form_->Panel3, form_->Panel4,
                          form_->Panel5};
    bars[slider]->setValue(position == 0 ? 1 : 0); // make the move a real change
    bars[slider]->setValue(position);
    QCOMPARE(form_->lightValues[std::size_t(slider)], value);
    QCOMPARE(readouts[slider]->text(), readout);
    QCOMPARE(swatches[slider]->palette().color(QPalette::Window), QColor(grey, grey, grey));
}

void tst_TForm1::sliderKeyboard()
{
    form_->show();
    QScrollBar* bar = form_->ScrollBar5;
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_Home);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(form_->Label16->text(), QStringLiteral("0"));
    QTest::keyClick(bar, Qt::Key_Right);
    QCOMPARE(bar->value(), 1);
    QTest::keyClick(bar, Qt::Key_PageUp);
    QCOMPARE(bar->value(), 26);
    QCOMPARE(form_->Panel5->palette().color(QPalette::Window), QColor(26, 26, 26));
    QTest::keyClick(bar, Qt::Key_Left);
    QCOMPARE(bar->value(), 25);
    QTest::keyClick(bar, Qt::Key_End);
    QCOMPARE(bar->value(), 255);
    QTest::keyClick(bar, Qt::Key_Right);
    QCOMPARE(bar->value(), 255);
    QCOMPARE(form_->ScrollBar4->pageStep(), 10);
    QCOMPARE(form_->ScrollBar1->pageStep(), 20);
}

void tst_TForm1::samePositionRunsNothing()
{
    form_->ScrollBar1->setValue(120);
    form_->Label12->setText(QStringLiteral("marker"));
    form_->ScrollBar1->setValue(120);
    QCOMPARE(form_->Label12->text(), QStringLiteral("marker"));
}

void tst_TForm1::lightValuesApartFromPositions()
{
    // As built, the sliders show their layout positions while every light
    // value is still 0, and a batch file carries those zeros.
    QCOMPARE(form_->ScrollBar1->value(), 100);
    QCOMPARE(form_->Label13->text(), QStringLiteral("0.4"));
    QCOMPARE(form_->Panel2->palette().color(QPalette::Window), QColor(51, 51, 51));
    for (double value : form_->lightValues)
        QCOMPARE(value, 0.0);
    const QStringList lines = batch::batchLines(form_->batchOptions());
    QVERIFY(lines.filter(QStringLiteral("qrad3 "))
                .constFirst()
                .contains(QStringLiteral("-scale 0 -direct 0 -entity 0 -ambient 0 -maxlight 0 ")));

    form_->ScrollBar1->setValue(101);
    form_->ScrollBar1->setValue(100);
    QCOMPARE(form_->lightValues[0], 1.0);
    QCOMPARE(form_->lightValues[1], 0.0);
}

void tst_TForm1::readoutUnderDecimalComma()
{
    // Its own test entry runs it under a German locale, and fails if it
    // skips there.
    if (platform::decimalSeparator() != QLatin1Char(','))
        QSKIP("needs a locale whose decimal separator is a comma (LC_ALL=de_DE.UTF-8)");
    form_->ScrollBar2->setValue(41);
    form_->ScrollBar2->setValue(40);
    QCOMPARE(form_->Label13->text(), QStringLiteral("0,4"));
    form_->ScrollBar1->setValue(155);
    QCOMPARE(form_->Label12->text(), QStringLiteral("1,55"));
    form_->ScrollBar1->setValue(100);
    QCOMPARE(form_->Label12->text(), QStringLiteral("1"));
    // The compilers read a point, whatever the locale.
    const QStringList lines = batch::batchLines(form_->batchOptions());
    QVERIFY(lines.filter(QStringLiteral("qrad3 "))
                .constFirst()
                .contains(QStringLiteral("-scale 1 -direct 0.4 ")));
}

void tst_TForm1::saveToBatchWorkedExample()
{
    TForm1& f = *form_;
    f.Edit4->setText(QStringLiteral("C:\\Quake2"));
    f.mapName = QStringLiteral("base1");
    for (int number = 1; number <= 36; ++number)
        f.checkBox(number)->setChecked(false);
    for (int number : {30, 31, 32, 26, 1, 3, 6, 7, 8, 11, 15, 10, 18, 21, 23, 25, 27, 33})
        f.checkBox(number)->setChecked(true);
    f.Edit3->setText(QStringLiteral("2"));
    f.Edit1->setText(QStringLiteral("240"));
    f.Edit2->setText(QStringLiteral("4"));
    const int positions[] = {100, 40, 100, 5, 196};
    QScrollBar* bars[] = {f.ScrollBar1, f.ScrollBar2, f.ScrollBar3, f.ScrollBar4, f.ScrollBar5};
    for (int i = 0; i < 5; ++i) {
        bars[i]->setValue(0);
        bars[i]->setValue(positions[i]);
    }
    const QString path = dir_.filePath(QStringLiteral("example.bat"));
    f.SaveToBatch(path);
    QCOMPARE(readBytes(path),
             QByteArray("cls\r\n@echo off\r\necho brushwright v1.02\r\n"
                        "echo =============================\r\necho.\r\nC:\r\n"
                        "cd\\Quake2\\baseq2\\maps\r\n"
                        "qbsp3 -threads 2 -chop 240 -notjunc -v base1\r\n"
                        "qvis3 -threads 2 base1\r\n"
                        "qrad3 -threads 2 -bounce 4 -extra -scale 1 -direct 0.4 -entity 1 "
                        "-ambient 0.05 -maxlight 196 base1\r\n"
                        "cd\\Quake2\r\nquake2 +map base1\r\npause\r\n"));
}

void tst_TForm1::saveToBatchReplacesWholeFile()
{
    const QString path = dir_.filePath(QStringLiteral("twice.bat"));
    writeBytes(path, QByteArray(4096, '#'));
    form_->SaveToBatch(path);
    const QByteArray first = readBytes(path);
    QVERIFY(first.startsWith("cls\r\n"));
    QVERIFY(!first.contains('#'));
    form_->SaveToBatch(path);
    QCOMPARE(readBytes(path), first);
}

void tst_TForm1::saveToBatchFailureKeepsOldFile()
{
    // A parent that is a regular file can never be written, even by root.
    const QString blocker = dir_.filePath(QStringLiteral("blocker"));
    writeBytes(blocker, "old");
    const QString path = blocker + QStringLiteral("/x.bat");
    try {
        form_->SaveToBatch(path);
        QFAIL("no failure");
    } catch (const Failure& failure) {
        QCOMPARE(failure.text(), QStringLiteral("Cannot create file ") + path);
    }
    QCOMPARE(readBytes(blocker), QByteArray("old"));
}

QTEST_MAIN(tst_TForm1)
#include "tst_TForm1.moc"
