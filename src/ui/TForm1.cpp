#include "ui/TForm1.h"

#include "batch/BatchScript.h"
#include "batch/LightValues.h"
#include "controls/TBevelLine.h"
#include "controls/TProBorder.h"
#include "controls/TProPanel.h"
#include "map/MapName.h"
#include "map/MapWatcher.h"
#include "platform/FileAge.h"
#include "platform/Platform.h"
#include "platform/SystemColors.h"
#include "platform/TextFile.h"
#include "settings/SettingsText.h"
#include "ui/FolderIcon.h"
#include "ui/HandlerGuard.h"
#include "ui/TForm2.h"
#include "ui/TForm3.h"
#include "ui/TForm4.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <algorithm>
#include <limits>
#include <vector>

namespace {

const QSize clientSize(393, 497);
const QString userHeader = QStringLiteral("Modify at your own risk!");
const QString patchedHeader = QStringLiteral("Modify at your own risk! (Patched, v1.02)");

struct CheckBoxLayout {
    QCheckBox* TForm1::*member;
    int left, top, width, tab;
    const char* caption;
    const char* hint;
    bool checked;
};

// Every check box of the main window, in the order of their numbers.
const CheckBoxLayout checkBoxLayouts[] = {
    {&TForm1::CheckBox1, 8, 56, 185, 0, "combine brushlists of child nodes",
     "qbsp3 -noprune when unchecked", false},
    {&TForm1::CheckBox2, 8, 72, 185, 1, "write plane info to file", "qbsp3 -glview when checked",
     false},
    {&TForm1::CheckBox3, 8, 88, 185, 2, "include detail brushes", "qbsp3 -nodetail when unchecked",
     false},
    {&TForm1::CheckBox4, 8, 104, 185, 3, "make all content detail brushes",
     "qbsp3 -fulldetail when checked", false},
    {&TForm1::CheckBox5, 8, 120, 185, 4, "only vis enteties", "qbsp3 -onlyents when checked",
     false},
    {&TForm1::CheckBox6, 8, 136, 185, 5, "merge shared edges", "qbsp3 -nomerge when unchecked",
     false},
    {&TForm1::CheckBox7, 8, 152, 185, 6, "include liquid brushes", "qbsp3 -nowater when unchecked",
     false},
    {&TForm1::CheckBox8, 8, 168, 185, 7, "reduce intersecting brushes",
     "qbsp3 -nocsg when unchecked", false},
    {&TForm1::CheckBox9, 8, 184, 185, 8, "use vertices from dvertexes array",
     "qbsp3 -noweld when checked", false},
    {&TForm1::CheckBox10, 8, 216, 185, 11, "subdivide faces larger than",
     "qbsp3 -chop x when checked", false},
    {&TForm1::CheckBox11, 8, 200, 185, 10, "throw out identical edges",
     "qbsp3 -noshare when unchecked", false},
    {&TForm1::CheckBox12, 8, 232, 185, 12, "break edges on tjunctions",
     "qbsp3 -notjunc when unchecked", false},
    {&TForm1::CheckBox13, 8, 248, 185, 13, "only process world model once",
     "qbsp3 -noopt when checked", false},
    {&TForm1::CheckBox14, 8, 264, 185, 14, "only test for leaks", "qbsp3 -leaktest when checked",
     false},
    {&TForm1::CheckBox15, 8, 280, 185, 15, "print current status", "qbsp3 -v when checked", false},
    {&TForm1::CheckBox16, 8, 296, 185, 16, "print entity status",
     "qbsp3 -verboseentities when checked", false},
    {&TForm1::CheckBox17, 8, 336, 185, 17, "fast vis job", "qvis3 -fast when checked", false},
    {&TForm1::CheckBox18, 8, 352, 185, 18, "sort portals by mightsee variable",
     "qvis3 -nosort when unchecked", false},
    {&TForm1::CheckBox19, 8, 368, 185, 19, "print current status", "qvis3 -v when checked", false},
    {&TForm1::CheckBox20, 200, 56, 185, 20, "write light info to disk", "qrad3 -dump when checked",
     false},
    {&TForm1::CheckBox21, 200, 72, 185, 21, "light bounce count", "qrad3 -bounce x when checked",
     false},
    {&TForm1::CheckBox22, 200, 88, 185, 22, "print current status", "qrad3 -v when checked", false},
    {&TForm1::CheckBox23, 200, 104, 185, 23, "take five samples instead of one",
     "qrad3 -extra when checked", false},
    {&TForm1::CheckBox24, 200, 120, 185, 30, "write plane info to disk",
     "qrad3 -glview when checked", false},
    {&TForm1::CheckBox25, 200, 136, 185, 31, "check PVS bit", "qrad3 -nopvs when unchecked", false},
    {&TForm1::CheckBox26, 200, 376, 185, 32, "threads to use",
     "for computers with multiple processors", false},
    {&TForm1::CheckBox27, 200, 392, 185, 34, "run quake ii after compile",
     "launch quake ii upon completion when checked", false},
    {&TForm1::CheckBox28, 200, 408, 185, 35, "close on compile",
     "close brushwright when compile starts when checked", false},
    {&TForm1::CheckBox29, 200, 424, 185, 48, "show batch file before compile",
     "open a window showing the batch file before compiling", false},
    {&TForm1::CheckBox30, 24, 40, 78, 49, "bsp options", "run qbsp3 when checked", true},
    {&TForm1::CheckBox31, 24, 320, 73, 50, "vis options", "run qvis3 when checked", true},
    {&TForm1::CheckBox32, 216, 40, 81, 51, "light options", "run qrad3 when checked", true},
    {&TForm1::CheckBox33, 200, 440, 185, 54, "pause after compiling",
     "\"press any key to continue\" before closing batch file", false},
    {&TForm1::CheckBox34, 200, 456, 185, 55, "pause between each process",
     "\"press any key to continue\" after qbsp3, qvis3, and qrad3", false},
    {&TForm1::CheckBox35, 200, 472, 185, 56, "autocompile",
     "whenever map is saved, prompt to compile", false},
    {&TForm1::CheckBox36, 288, 472, 89, 57, "deathmatch", "run quake ii as deathmatch", false},
};

struct EditLayout {
    QLineEdit* TForm1::*member;
    int left, top, tab;
};

const EditLayout editLayouts[] = {
    {&TForm1::Edit1, 160, 214, 9},
    {&TForm1::Edit2, 352, 70, 25},
    {&TForm1::Edit3, 352, 374, 33},
};

struct SliderLayout {
    QScrollBar* TForm1::*slider;
    QLabel* TForm1::*caption;
    QLabel* TForm1::*readout;
    QFrame* TForm1::*swatch;
    int top, tab, maximum, pageStep, position;
    const char* captionText;
};

const SliderLayout sliderLayouts[] = {
    {&TForm1::ScrollBar1, &TForm1::Label5, &TForm1::Label12, &TForm1::Panel1, 160, 24, 200, 20, 100,
     "light scaling"},
    {&TForm1::ScrollBar2, &TForm1::Label6, &TForm1::Label13, &TForm1::Panel2, 200, 26, 200, 20, 40,
     "direct light scaling"},
    {&TForm1::ScrollBar3, &TForm1::Label7, &TForm1::Label14, &TForm1::Panel3, 240, 27, 200, 20, 100,
     "entity light scaling"},
    {&TForm1::ScrollBar4, &TForm1::Label8, &TForm1::Label15, &TForm1::Panel4, 280, 28, 100, 10, 0,
     "ambient light"},
    {&TForm1::ScrollBar5, &TForm1::Label9, &TForm1::Label16, &TForm1::Panel5, 320, 29, 255, 25, 196,
     "max light"},
};

struct ButtonLayout {
    QPushButton* TForm1::*member;
    QRect geometry;
    int tab;
    const char* caption;
    bool enabled;
};

const ButtonLayout buttonLayouts[] = {
    {&TForm1::Button6, {176, 8, 48, 24}, 46, "menu", true},
    {&TForm1::Button5, {224, 8, 56, 24}, 45, "about...", true},
    {&TForm1::Button4, {280, 8, 48, 24}, 39, "cancel", true},
    {&TForm1::Button3, {328, 8, 57, 24}, 38, "compile", false},
    {&TForm1::Button2, {8, 416, 104, 24}, 37, "save as preset...", true},
    {&TForm1::Button1, {112, 416, 80, 24}, 36, "load preset...", true},
    {&TForm1::Button8, {8, 440, 184, 24}, 52, "load default settings", true},
    {&TForm1::Button7, {8, 464, 184, 24}, 53, "save as batch file...", false},
};

struct LabelLayout {
    QLabel* TForm1::*member;
    int left, top;
    const char* caption;
};

const LabelLayout headingLayouts[] = {
    {&TForm1::Label10, 200, 360, "misc options"},
    {&TForm1::Label11, 8, 392, "configuration"},
};

struct BevelLayout {
    TBevelLine* TForm1::*member;
    QRect geometry;
};

const BevelLayout groupLineLayouts[] = {
    {&TForm1::Bevel2, {8, 40, 185, 9}},   {&TForm1::Bevel3, {8, 320, 185, 9}},
    {&TForm1::Bevel4, {200, 40, 185, 9}}, {&TForm1::Bevel1, {200, 360, 185, 9}},
    {&TForm1::Bevel5, {80, 392, 113, 9}},
};

// The option-set file: lines 1 to 25 are CheckBox1 to CheckBox25, 26 and 27
// the two value fields, 28 to 32 the slider positions, 33 to 35 the three
// compiler switches.
constexpr int optionSetLines = 36;
constexpr int firstTextLine = 26;
constexpr int firstSliderLine = 28;
constexpr int firstSwitchLine = 33;
constexpr int settingsLineCount = 10;
// The fields take what the files hold, however long.
constexpr int unlimitedLength = std::numeric_limits<int>::max();

void placeLabel(QLabel* label, int left, int top)
{
    label->move(left, top);
    label->adjustSize();
}

void setSwatch(QFrame* swatch, int grey)
{
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, QColor(grey, grey, grey));
    swatch->setPalette(palette);
}

void setTextColor(QLabel* label, const QColor& color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

} // namespace

TForm1::TForm1(Dialogs& dialogs, const QString& programFolder, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), dialogs_(dialogs),
      programFolder_(programFolder)
{
    setWindowTitle(programTitle);
    setObjectName(QStringLiteral("Form1"));
    setFixedSize(clientSize);
    setAutoFillBackground(true);
    QPalette face = palette();
    face.setColor(QPalette::Window, platform::systemColor(platform::ColorBtnFace));
    setPalette(face);

    createControls();
    setTabOrder();
    connectHandlers();

    const auto presetDialog = [this](FileDialogRequest::Kind kind, const char* title) {
        FileDialogRequest dialog;
        dialog.kind = kind;
        dialog.title = QString::fromLatin1(title);
        dialog.filter = QStringLiteral("q2 compile preset|*.preset");
        dialog.defaultExtension = QStringLiteral("*.preset");
        dialog.options = FileDialogRequest::HideReadOnly | FileDialogRequest::EnableSizing;
        dialog.options |= kind == FileDialogRequest::Save
                              ? FileDialogRequest::Options(FileDialogRequest::OverwritePrompt)
                              : FileDialogRequest::PathMustExist | FileDialogRequest::FileMustExist;
        return dialog;
    };
    SaveDialog1 = presetDialog(FileDialogRequest::Save, "save as preset");
    OpenDialog1 = presetDialog(FileDialogRequest::Open, "load preset");

    SaveDialog2.kind = FileDialogRequest::Save;
    SaveDialog2.title = QStringLiteral("save as batch file");
    SaveDialog2.filter = QStringLiteral("batch file|*.bat");
    SaveDialog2.defaultExtension = QStringLiteral("*.bat");
    SaveDialog2.options = FileDialogRequest::OverwritePrompt | FileDialogRequest::HideReadOnly |
                          FileDialogRequest::EnableSizing;

    OpenDialog2.kind = FileDialogRequest::Open;
    OpenDialog2.title = QStringLiteral("load uncompiled map");
    OpenDialog2.filter = QStringLiteral("q2 uncompiled map|*.map");
    OpenDialog2.defaultExtension = QStringLiteral("*.map");
    OpenDialog2.options = FileDialogRequest::HideReadOnly | FileDialogRequest::PathMustExist |
                          FileDialogRequest::FileMustExist | FileDialogRequest::EnableSizing;
}

void TForm1::createControls()
{
    // The frame first: everything else lies above it.
    ProBorder1 = new TProBorder(this);
    ProBorder1->setGeometry(QRect(QPoint(), clientSize));
    ProBorder1->setBevelCtl3D(true);
    ProBorder1->setBevelOuter(bvRaised);
    ProBorder1->setBevelWidth(2);

    createCheckBoxes();
    createLightControls();
    createButtonsAndLabels();
    createConfigurationPanel();

    Timer1 = new QTimer(this);
    Timer1->setInterval(500);
    // A coarse timer may tick 5 % late: the prompt must be up within 550 ms.
    Timer1->setTimerType(Qt::PreciseTimer);
}

void TForm1::createCheckBoxes()
{
    for (const CheckBoxLayout& item : checkBoxLayouts) {
        auto* box = new QCheckBox(QString::fromLatin1(item.caption), this);
        box->setGeometry(item.left, item.top, item.width, 17);
        box->setToolTip(QString::fromLatin1(item.hint));
        box->setChecked(item.checked);
        this->*item.member = box;
    }
    CheckBox35->setEnabled(false);

    for (const EditLayout& item : editLayouts) {
        auto* edit = new QLineEdit(QStringLiteral("0"), this);
        edit->setMaxLength(unlimitedLength);
        edit->setGeometry(item.left, item.top, 33, 21);
        this->*item.member = edit;
    }
}

void TForm1::createLightControls()
{
    for (const SliderLayout& item : sliderLayouts) {
        auto* caption = new QLabel(QString::fromLatin1(item.captionText), this);
        placeLabel(caption, 200, item.top);
        this->*item.caption = caption;

        auto* bar = new QScrollBar(Qt::Horizontal, this);
        bar->setGeometry(200, item.top + 16, 161, 16);
        bar->setRange(0, item.maximum);
        bar->setSingleStep(1);
        bar->setPageStep(item.pageStep);
        bar->setValue(item.position);
        bar->setFocusPolicy(Qt::StrongFocus);
        // Right and Page Up move toward the maximum, as on a slider.
        bar->setInvertedControls(false);
        this->*item.slider = bar;

        auto* swatch = new QFrame(this);
        swatch->setGeometry(368, item.top + 16, 17, 16);
        swatch->setFrameStyle(QFrame::Box | QFrame::Plain);
        swatch->setLineWidth(1);
        swatch->setAutoFillBackground(true);
        this->*item.swatch = swatch;

        auto* readout = new QLabel(this);
        readout->setGeometry(320, item.top, 65, 13);
        readout->setAlignment(Qt::AlignRight | Qt::AlignTop);
        this->*item.readout = readout;
    }
    // What the change handling would show for the initial positions; the
    // light values themselves stay 0 until a slider really moves.
    const char* const readouts[] = {"1", "0.4", "1", "0", "196"};
    const int greys[] = {127, 51, 127, 0, 196};
    for (int i = 0; i < light::sliderCount; ++i) {
        const SliderLayout& item = sliderLayouts[i];
        (this->*item.readout)->setText(QString::fromLatin1(readouts[i]));
        setSwatch(this->*item.swatch, greys[i]);
    }
}

void TForm1::createButtonsAndLabels()
{
    Label1 = new QLabel(QStringLiteral("brushwright"), this);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->setGeometry(8, 8, 132, 13);

    Label19 = new QLabel(QStringLiteral("warning: no map selected"), this);
    // It shows a map file's name, which is no markup.
    Label19->setTextFormat(Qt::PlainText);
    placeLabel(Label19, 8, 24);
    setTextColor(Label19, QColor(255, 0, 0));

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setGeometry(152, 8, 24, 24);
    SpeedButton1->setIcon(openedFolderIcon());
    SpeedButton1->setIconSize(QSize(16, 16));
    SpeedButton1->setFocusPolicy(Qt::NoFocus);

    for (const ButtonLayout& item : buttonLayouts) {
        auto* button = new QPushButton(QString::fromLatin1(item.caption), this);
        button->setGeometry(item.geometry);
        button->setEnabled(item.enabled);
        button->setAutoDefault(false);
        this->*item.member = button;
    }
    for (const LabelLayout& item : headingLayouts) {
        auto* label = new QLabel(QString::fromLatin1(item.caption), this);
        placeLabel(label, item.left, item.top);
        this->*item.member = label;
    }
    for (const BevelLayout& item : groupLineLayouts) {
        auto* line = new TBevelLine(TBevelLine::BottomLine, this);
        line->setGeometry(item.geometry);
        line->lower();
        this->*item.member = line;
    }
    ProBorder1->lower();
    // Headings and the master check boxes stand on their group's line and
    // hide it where their text is.
    for (QWidget* onLine :
         std::initializer_list<QWidget*>{Label10, Label11, CheckBox30, CheckBox31, CheckBox32})
        onLine->setAutoFillBackground(true);
}

void TForm1::createConfigurationPanel()
{
    ProPanel1 = new TProPanel(this);
    ProPanel1->setGeometry(200, 24, 137, 153);
    ProPanel1->setBevelCtl3D(true);
    ProPanel1->setBevelWidth(2);
    ProPanel1->setVisible(false);

    Label17 = new QLabel(QStringLiteral("on startup, load"), ProPanel1);
    placeLabel(Label17, 8, 8);
    Bevel7 = new TBevelLine(TBevelLine::BottomLine, ProPanel1);
    Bevel7->setGeometry(88, 8, 41, 9);
    RadioButton1 = new QRadioButton(QStringLiteral("default settings"), ProPanel1);
    RadioButton1->setGeometry(8, 27, 97, 17);
    RadioButton2 = new QRadioButton(QStringLiteral("last used settings"), ProPanel1);
    RadioButton2->setGeometry(8, 44, 105, 17);
    RadioButton2->setChecked(true);
    Label18 = new QLabel(QStringLiteral("quake ii location"), ProPanel1);
    placeLabel(Label18, 8, 64);
    Bevel8 = new TBevelLine(TBevelLine::BottomLine, ProPanel1);
    Bevel8->setGeometry(88, 64, 41, 9);
    Edit4 = new QLineEdit(ProPanel1);
    Edit4->setMaxLength(unlimitedLength);
    Edit4->setGeometry(8, 84, 121, 21);
    Bevel6 = new TBevelLine(TBevelLine::TopLine, ProPanel1);
    Bevel6->setGeometry(8, 112, 121, 9);
    Button10 = new QPushButton(QStringLiteral("ok"), ProPanel1);
    Button10->setGeometry(8, 120, 121, 25);
    Button10->setAutoDefault(false);

    // Shown, it covers the top of the light group.
    ProPanel1->raise();
}

void TForm1::setTabOrder()
{
    std::vector<std::pair<int, QWidget*>> order;
    for (const CheckBoxLayout& item : checkBoxLayouts)
        order.emplace_back(item.tab, this->*item.member);
    for (const EditLayout& item : editLayouts)
        order.emplace_back(item.tab, this->*item.member);
    for (const SliderLayout& item : sliderLayouts)
        order.emplace_back(item.tab, this->*item.slider);
    for (const ButtonLayout& item : buttonLayouts)
        order.emplace_back(item.tab, this->*item.member);
    order.emplace_back(47, ProPanel1);
    std::sort(order.begin(), order.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });

    std::vector<QWidget*> chain;
    for (const auto& entry : order) {
        if (entry.second != ProPanel1) {
            chain.push_back(entry.second);
            continue;
        }
        for (QWidget* child : {static_cast<QWidget*>(Button10), static_cast<QWidget*>(RadioButton1),
                               static_cast<QWidget*>(RadioButton2), static_cast<QWidget*>(Edit4)})
            chain.push_back(child);
    }
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void TForm1::connectHandlers()
{
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TForm1::Button6Click);
    connect(Button7, &QPushButton::clicked, this, &TForm1::Button7Click);
    connect(Button8, &QPushButton::clicked, this, &TForm1::Button8Click);
    connect(Button10, &QPushButton::clicked, this, &TForm1::Button10Click);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);
    connect(Edit4, &QLineEdit::textChanged, this, &TForm1::Edit4Change);
    connect(ScrollBar1, &QScrollBar::valueChanged, this, &TForm1::ScrollBar1Change);
    connect(ScrollBar2, &QScrollBar::valueChanged, this, &TForm1::ScrollBar2Change);
    connect(ScrollBar3, &QScrollBar::valueChanged, this, &TForm1::ScrollBar3Change);
    connect(ScrollBar4, &QScrollBar::valueChanged, this, &TForm1::ScrollBar4Change);
    connect(ScrollBar5, &QScrollBar::valueChanged, this, &TForm1::ScrollBar5Change);
    connect(CheckBox35, &QCheckBox::toggled, this, &TForm1::CheckBox35Click);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
}

QCheckBox* TForm1::checkBox(int number) const
{
    return this->*checkBoxLayouts[number - 1].member;
}

QScrollBar* TForm1::slider(int index) const
{
    return this->*sliderLayouts[index].slider;
}

bool TForm1::handle(const std::function<void()>& step)
{
    ++handlerDepth_;
    const bool ranToEnd = runHandler(dialogs_, step);
    // Only the outermost handler passes the end on: a box or dialog that a
    // handler shows after the end request runs its own loop, which an exit
    // would close at once.
    if (--handlerDepth_ == 0 && endRequested_)
        emit endRequested();
    return ranToEnd;
}

// Configuration panel ---------------------------------------------------

void TForm1::Button6Click()
{
    // isHidden, not isVisible: the panel counts as shown even while the window is not.
    ProPanel1->setVisible(ProPanel1->isHidden());
}

void TForm1::Button10Click()
{
    ProPanel1->hide();
}

void TForm1::Edit4Change(const QString& text)
{
    gameDirectory = text;
}

// Light sliders ------------------------------------------------------------

void TForm1::ScrollBar1Change()
{
    lightChange(0);
}

void TForm1::ScrollBar2Change()
{
    lightChange(1);
}

void TForm1::ScrollBar3Change()
{
    lightChange(2);
}

void TForm1::ScrollBar4Change()
{
    lightChange(3);
}

void TForm1::ScrollBar5Change()
{
    lightChange(4);
}

void TForm1::lightChange(int index)
{
    const SliderLayout& item = sliderLayouts[index];
    const double value = light::value(index, slider(index)->value());
    lightValues[std::size_t(index)] = value;
    (this->*item.readout)->setText(light::readout(index, value, platform::decimalSeparator()));
    setSwatch(this->*item.swatch, light::grey(index, value));
}

// Batch file --------------------------------------------------------------

BatchOptions TForm1::batchOptions() const
{
    BatchOptions options;
    for (int number = 1; number <= 36; ++number)
        options.checkBox[std::size_t(number)] = checkBox(number)->isChecked();
    options.edit1 = Edit1->text();
    options.edit2 = Edit2->text();
    options.edit3 = Edit3->text();
    options.light = lightValues;
    options.gameDirectory = gameDirectory;
    options.mapName = mapName;
    return options;
}

void TForm1::SaveToBatch(const QString& path)
{
    // In the code page the command interpreter reads it in.
    textfile::writeLines(path, batch::batchLines(batchOptions()), platform::CodePage::Oem);
}

QString TForm1::compileBatchFile() const
{
    return map::mapsFolder(gameDirectory) + QStringLiteral("\\Brushwright.bat");
}

// Compile -------------------------------------------------------------------

void TForm1::Button3Click()
{
    handle([this] { compile(); });
}

void TForm1::compile()
{
    SaveToBatch(compileBatchFile());
    if (CheckBox29->isChecked() && form2_) {
        form2_->setFileText(textfile::readFile(compileBatchFile()));
        if (dialogs_.execModal(*form2_) != TForm2::Compile)
            return;
        textfile::writeFile(compileBatchFile(), form2_->fileText());
    }
    const QString path = compileBatchFile();
    if (!platform::startBatchFile(path))
        throw Failure::cannotStart(path);
    if (CheckBox28->isChecked())
        close();
}

void TForm1::Button7Click()
{
    handle([this] {
        const std::optional<QString> chosen = dialogs_.fileDialog(SaveDialog2);
        if (!chosen)
            return;
        SaveDialog2.fileName = *chosen;
        SaveToBatch(*chosen);
    });
}

void TForm1::Button4Click()
{
    close();
}

// Map selection -------------------------------------------------------------

void TForm1::SpeedButton1Click()
{
    handle([this] {
        const std::optional<QString> chosen = dialogs_.fileDialog(OpenDialog2);
        if (!chosen)
            return;
        OpenDialog2.fileName = *chosen;
        mapName = map::mapNameRule(map::fileNamePart(*chosen));
        mapSelected();
    });
}

void TForm1::selectMapFromCommandLine(const QString& argument)
{
    if (argument.isEmpty()) {
        // A program that is about to end asks for no map.
        if (!endRequested_)
            SpeedButton1->click();
        return;
    }
    mapName = map::mapNameRule(argument);
    mapSelected();
}

void TForm1::mapSelected()
{
    Label19->setText(mapName);
    Label19->adjustSize();
    Button3->setEnabled(true);
    Button7->setEnabled(true);
    setTextColor(Label19, platform::systemColor(platform::ColorWindowText));
    CheckBox35->setEnabled(true);
    mapTimestamp = platform::fileAge(map::mapFilePath(gameDirectory, mapName));
}

void TForm1::CheckBox35Click()
{
    mapTimestamp = platform::fileAge(map::mapFilePath(gameDirectory, mapName));
    if (CheckBox35->isChecked())
        Timer1->start();
    else
        Timer1->stop();
}

void TForm1::Timer1Timer()
{
    handle([this] {
        const auto mapFileAge = [this] {
            return platform::fileAge(map::mapFilePath(gameDirectory, mapName));
        };
        map::watchTick(mapTimestamp, mapFileAge, [this] {
            // Ticks during start-up's map dialog come before the prompt exists.
            if (!form4_)
                return;
            hide();
            // Normal first, so that an already stay-on-top prompt comes above
            // the windows that went on top since.
            form4_->setWindowFlag(Qt::WindowStaysOnTopHint, false);
            form4_->setWindowFlag(Qt::WindowStaysOnTopHint, true);
            form4_->show();
            form4_->raise();
            form4_->activateWindow();
        });
    });
}

// About window --------------------------------------------------------------

void TForm1::Button5Click()
{
    handle([this] {
        if (form3_)
            dialogs_.execModal(*form3_);
    });
}

// Option-set files ----------------------------------------------------------

void TForm1::SaveSettings(const QString& path, const QString& header)
{
    QStringList lines{header};
    for (int number = 1; number <= 25; ++number)
        lines << settings::flagLine(checkBox(number)->isChecked());
    lines << Edit1->text() << Edit2->text();
    for (int index = 0; index < light::sliderCount; ++index)
        lines << QString::number(slider(index)->value());
    for (QCheckBox* box : {CheckBox30, CheckBox31, CheckBox32})
        lines << settings::flagLine(box->isChecked());
    textfile::writeLines(path, lines);
}

void TForm1::LoadSettings(const QString& path)
{
    const QStringList lines = textfile::readLines(path, optionSetLines);

    // Each box takes its line as soon as it is read; a short file stops the
    // block there and leaves the rest as it was.
    std::vector<std::pair<int, QCheckBox*>> guarded;
    for (int number = 1; number <= 25; ++number)
        guarded.emplace_back(number, checkBox(number));
    guarded.emplace_back(firstSwitchLine, CheckBox30);
    guarded.emplace_back(firstSwitchLine + 1, CheckBox31);
    guarded.emplace_back(firstSwitchLine + 2, CheckBox32);
    for (const auto& [line, box] : guarded) {
        if (line >= lines.size()) {
            if (askPatch(path))
                SaveSettings(path, patchedHeader);
            requestEnd();
            break;
        }
        box->setChecked(settings::flagFromLine(lines[line]));
    }

    const auto lineAt = [&lines](int index) {
        if (index >= lines.size())
            throw Failure::listIndexOutOfBounds(index);
        return lines[index];
    };
    Edit1->setText(lineAt(firstTextLine));
    Edit2->setText(lineAt(firstTextLine + 1));
    for (int index = 0; index < light::sliderCount; ++index) {
        const QString text = lineAt(firstSliderLine + index);
        const std::optional<qint32> position = settings::integerFromText(text);
        if (!position)
            throw Failure::notAnInteger(text);
        QScrollBar* bar = slider(index);
        bar->setValue(std::clamp<qint32>(*position, bar->minimum(), bar->maximum()));
    }
}

bool TForm1::askPatch(const QString& file)
{
    const QString text = QStringLiteral("Error loading ") + file +
                         QStringLiteral(". This is most likely a version incompatability. Patch ") +
                         file + QLatin1Char('?');
    return dialogs_.message(confirmBoxRequest(text, QMessageBox::Yes)) == QMessageBox::Yes;
}

void TForm1::requestEnd()
{
    endRequested_ = true;
    if (handlerDepth_ == 0)
        emit endRequested();
}

// Presets -------------------------------------------------------------------

void TForm1::Button2Click()
{
    handle([this] {
        const std::optional<QString> chosen = dialogs_.fileDialog(SaveDialog1);
        if (!chosen)
            return;
        SaveDialog1.fileName = *chosen;
        SaveSettings(*chosen, userHeader);
    });
}

void TForm1::Button1Click()
{
    handle([this] {
        const std::optional<QString> chosen = dialogs_.fileDialog(OpenDialog1);
        if (!chosen)
            return;
        OpenDialog1.fileName = *chosen;
        LoadSettings(*chosen);
    });
}

void TForm1::Button8Click()
{
    handle([this] {
        ProPanel1->hide();
        LoadSettings(programFolder_ + QStringLiteral("default.builtin"));
    });
}

// Start-up and shut-down ----------------------------------------------------

void TForm1::FormCreate(const QString& firstArgument)
{
    handle([this, &firstArgument] {
        loadProgramSettings();
        for (int index = 0; index < light::sliderCount; ++index)
            slider(index)->setValue(0);
        LoadSettings(programFolder_ + (RadioButton1->isChecked()
                                           ? QStringLiteral("default.builtin")
                                           : QStringLiteral("lastused.builtin")));
        SaveDialog1.initialFolder = programFolder_;
        OpenDialog1.initialFolder = programFolder_;
        SaveDialog2.initialFolder = map::mapsFolder(gameDirectory);
        OpenDialog2.initialFolder = map::mapsFolder(gameDirectory);
        selectMapFromCommandLine(firstArgument);
    });
}

void TForm1::loadProgramSettings()
{
    const QString path = programFolder_ + QStringLiteral("settings.builtin");
    const QStringList lines = textfile::readLines(path, settingsLineCount);
    const std::function<void(const QString&)> apply[settingsLineCount] = {
        [this](const QString& l) {
            (l == QLatin1String("0") ? RadioButton1 : RadioButton2)->setChecked(true);
        },
        [this](const QString& l) { CheckBox26->setChecked(settings::flagFromLine(l)); },
        [this](const QString& l) { CheckBox27->setChecked(settings::flagFromLine(l)); },
        [this](const QString& l) { CheckBox28->setChecked(settings::flagFromLine(l)); },
        [this](const QString& l) { CheckBox29->setChecked(settings::flagFromLine(l)); },
        [this](const QString& l) { Edit3->setText(l); },
        [this](const QString& l) {
            Edit4->setText(l);
            gameDirectory = l;
        },
        [this](const QString& l) { CheckBox33->setChecked(settings::flagFromLine(l)); },
        [this](const QString& l) { CheckBox34->setChecked(settings::flagFromLine(l)); },
        [this](const QString& l) { CheckBox35->setChecked(settings::flagFromLine(l)); },
    };
    for (int line = 0; line < settingsLineCount; ++line) {
        if (line >= lines.size()) {
            if (askPatch(path))
                textfile::writeLines(path, programSettingsLines());
            requestEnd();
            return;
        }
        apply[line](lines[line]);
    }
}

QStringList TForm1::programSettingsLines() const
{
    return {
        RadioButton1->isChecked() ? QStringLiteral("0") : QStringLiteral("1"),
        settings::flagLine(CheckBox26->isChecked()),
        settings::flagLine(CheckBox27->isChecked()),
        settings::flagLine(CheckBox28->isChecked()),
        settings::flagLine(CheckBox29->isChecked()),
        Edit3->text(),
        Edit4->text(),
        settings::flagLine(CheckBox33->isChecked()),
        settings::flagLine(CheckBox34->isChecked()),
        settings::flagLine(CheckBox35->isChecked()),
    };
}

void TForm1::FormClose()
{
    textfile::writeLines(programFolder_ + QStringLiteral("settings.builtin"),
                         programSettingsLines());
    SaveSettings(programFolder_ + QStringLiteral("lastused.builtin"), userHeader);
}

bool TForm1::askCloseWithoutSaving()
{
    const QString text = QStringLiteral("Close Brushwright without saving its settings?");
    return dialogs_.message(confirmBoxRequest(text, QMessageBox::No)) == QMessageBox::Yes;
}

void TForm1::closeEvent(QCloseEvent* event)
{
    handle([this, event] {
        // A folder that cannot be written must not make the program
        // impossible to close: after the error, the user may leave without
        // saving.
        if (!handle([this] { FormClose(); }) && !askCloseWithoutSaving()) {
            event->ignore();
            return;
        }
        event->accept();
        requestEnd();
    });
}

// Window --------------------------------------------------------------------

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (placed_)
        return;
    placed_ = true;
    if (const QScreen* screen = this->screen()) {
        QRect placed(QPoint(), clientSize);
        placed.moveCenter(screen->availableGeometry().center());
        move(placed.topLeft());
    }
}

void TForm1::mousePressEvent(QMouseEvent* event)
{
    // There is no caption bar: an empty part of the window moves it.
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void TForm1::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_ && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - dragOffset_);
    else
        dragging_ = false;
}
