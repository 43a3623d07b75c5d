#include "ui/TForm1.h"

#include "batch/BatchScript.h"
#include "batch/LightValues.h"
#include "batch/UserTexts.h"
#include "controls/TBevelLine.h"
#include "controls/TProBorder.h"
#include "controls/TProPanel.h"
#include "map/MapName.h"
#include "map/MapWatcher.h"
#include "platform/FileAge.h"
#include "platform/Platform.h"
#include "platform/SystemColors.h"
#include "platform/TextFile.h"
#include "ui/CompileWindow.h"
#include "ui/FolderIcon.h"
#include "ui/HandlerGuard.h"
#include "ui/TForm1Controls.h"
#include "ui/TForm2.h"
#include "ui/TForm3.h"
#include "ui/TForm4.h"

#include <QCheckBox>
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

using namespace form1;

namespace {

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

template <std::size_t N>
void createLabels(TForm1& form, const LabelLayout (&layouts)[N], QWidget* parent)
{
    for (const LabelLayout& item : layouts) {
        auto* label = new QLabel(QString::fromLatin1(item.caption), parent);
        placeLabel(label, item.left, item.top);
        form.*item.member = label;
    }
}

template <std::size_t N>
void createLines(TForm1& form, const BevelLayout (&layouts)[N], QWidget* parent)
{
    for (const BevelLayout& item : layouts) {
        auto* line = new TBevelLine(item.shape, parent);
        line->setGeometry(item.geometry);
        form.*item.member = line;
    }
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
        // What the change handling would show for the initial position; the
        // light value itself stays 0 until the slider really moves.
        readout->setText(QString::fromLatin1(item.initialReadout));
        setSwatch(swatch, item.initialGrey);
    }
}

void TForm1::createButtonsAndLabels()
{
    Label1 = new QLabel(QString::fromLatin1(titleCaption), this);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->setGeometry(titleGeometry);

    Label19 = new QLabel(QString::fromLatin1(noMapCaption), this);
    // It shows a map file's name, which is no markup.
    Label19->setTextFormat(Qt::PlainText);
    placeLabel(Label19, mapLabelPosition.x(), mapLabelPosition.y());
    setTextColor(Label19, QColor(255, 0, 0));

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setGeometry(folderButtonGeometry);
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
    createLabels(*this, headingLayouts, this);
    createLines(*this, groupLineLayouts, this);
    for (const BevelLayout& item : groupLineLayouts)
        (this->*item.member)->lower();
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
    ProPanel1->setGeometry(panelGeometry);
    ProPanel1->setBevelCtl3D(true);
    ProPanel1->setBevelWidth(2);
    ProPanel1->setVisible(false);

    createLabels(*this, panelLabelLayouts, ProPanel1);
    createLines(*this, panelLineLayouts, ProPanel1);
    for (const RadioLayout& item : panelRadioLayouts) {
        auto* radio = new QRadioButton(QString::fromLatin1(item.caption), ProPanel1);
        radio->setGeometry(item.geometry);
        radio->setChecked(item.checked);
        this->*item.member = radio;
    }
    Edit4 = new QLineEdit(ProPanel1);
    Edit4->setMaxLength(unlimitedLength);
    Edit4->setGeometry(gameLocationGeometry);
    Button10 = new QPushButton(QStringLiteral("ok"), ProPanel1);
    Button10->setGeometry(okGeometry);
    Button10->setAutoDefault(false);
    Button11 = new QPushButton(QStringLiteral("compilers..."), ProPanel1);
    Button11->setGeometry(compilersGeometry);
    Button11->setAutoDefault(false);

    // Shown, it covers the top of the light group.
    ProPanel1->raise();
}
void TForm1::setTabOrder()
{
    // The panel's controls take its place in the window's order.
    std::vector<std::pair<int, QWidget*>> panel{
        {okTab, Button10}, {gameLocationTab, Edit4}, {compilersTab, Button11}};
    for (const RadioLayout& item : panelRadioLayouts)
        panel.emplace_back(item.tab, this->*item.member);
    std::vector<std::pair<int, QWidget*>> order;
    for (const CheckBoxLayout& item : checkBoxLayouts)
        order.emplace_back(item.tab, this->*item.member);
    for (const EditLayout& item : editLayouts)
        order.emplace_back(item.tab, this->*item.member);
    for (const SliderLayout& item : sliderLayouts)
        order.emplace_back(item.tab, this->*item.slider);
    for (const ButtonLayout& item : buttonLayouts)
        order.emplace_back(item.tab, this->*item.member);
    order.emplace_back(panelTab, ProPanel1);
    const auto byTab = [](const auto& a, const auto& b) { return a.first < b.first; };
    std::sort(order.begin(), order.end(), byTab);
    std::sort(panel.begin(), panel.end(), byTab);

    std::vector<QWidget*> chain;
    for (const auto& entry : order) {
        if (entry.second != ProPanel1) {
            chain.push_back(entry.second);
            continue;
        }
        for (const auto& child : panel)
            chain.push_back(child.second);
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
    connect(Button11, &QPushButton::clicked, this, &TForm1::Button11Click);
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
    // In the code page the command interpreter reads it in, which must
    // hold every character typed: nothing is written (or started) else.
    const BatchOptions options = batchOptions();
    batch::checkWritable(batch::userTexts(options, compilerSettings_),
                         platform::codePageNumber(platform::CodePage::Oem));
    textfile::writeLines(path, batch::batchLines(options, compilerSettings_),
                         platform::CodePage::Oem);
}

QString TForm1::compileBatchFile() const
{
    return mapsFolder() + QStringLiteral("\\Brushwright.bat");
}

// Compile -------------------------------------------------------------------

void TForm1::Button3Click()
{
    handle([this] { compile(); });
}

void TForm1::compile()
{
    if (compilerSettings_.way == settings::CompileWay::Window) {
        compileInWindow(compilerSettings_);
        return;
    }
    SaveToBatch(compileBatchFile());
    TForm2* form2 = CheckBox29->isChecked() ? verifyWindow() : nullptr;
    if (form2) {
        form2->setFileText(textfile::readFile(compileBatchFile()));
        if (dialogs_.execModal(*form2) != TForm2::Compile)
            return;
        textfile::writeFile(compileBatchFile(), form2->fileText());
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
    mapTimestamp = platform::fileAge(mapFile());
}

void TForm1::CheckBox35Click()
{
    mapTimestamp = platform::fileAge(mapFile());
    if (CheckBox35->isChecked())
        Timer1->start();
    else
        Timer1->stop();
}

void TForm1::Timer1Timer()
{
    handle([this] {
        const auto mapFileAge = [this] { return platform::fileAge(mapFile()); };
        map::watchTick(mapTimestamp, mapFileAge, [this] {
            // Ticks during start-up's map dialog come before the prompt exists.
            TForm4* form4 = prompt();
            if (!form4)
                return;
            // A save while the compile window compiles shows that compile.
            if (compileInProgress()) {
                raiseCompileWindow();
                return;
            }
            hide();
            // Normal first, so that an already stay-on-top prompt comes above
            // the windows that went on top since.
            form4->setWindowFlag(Qt::WindowStaysOnTopHint, false);
            form4->setWindowFlag(Qt::WindowStaysOnTopHint, true);
            form4->show();
            form4->raise();
            form4->activateWindow();
        });
    });
}

void TForm1::requestEnd()
{
    endRequested_ = true;
    if (handlerDepth_ == 0)
        emit endRequested();
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
