#include "ui/TForm4.h"

#include "platform/SystemColors.h"
#include "ui/TForm1.h"
#include "ui/WindowPlacement.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

namespace {

const QSize clientSize(273, 120);

QPushButton* promptButton(const QString& caption, int top, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(8, top, 257, 24);
    // Return presses the focused button, as on any dialog.
    button->setAutoDefault(true);
    return button;
}

} // namespace

TForm4::TForm4(TForm1& form1, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      form1_(form1)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Brushwright AutoCompile"));
    setFixedSize(clientSize);
    QPalette face = palette();
    face.setColor(QPalette::Window, platform::systemColor(platform::ColorBtnFace));
    setPalette(face);
    setAutoFillBackground(true);

    Label1 = new QLabel(QStringLiteral("AutoCompile has detected a change in your map's timestamp. "
                                       "Select what you want to do:"),
                        this);
    Label1->setGeometry(8, 8, 257, 33);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // Made in their tab order.
    Button1 = promptButton(QStringLiteral("Compile using current settings"), 40, this);
    Button2 = promptButton(QStringLiteral("Open Brushwright"), 64, this);
    Button4 = promptButton(QStringLiteral("Turn off AutoCompile"), 88, this);
    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm4::Button2Click);
    connect(Button4, &QPushButton::clicked, this, &TForm4::Button4Click);
}

void TForm4::Button1Click()
{
    // The main window's own compile, while that window is hidden; with
    // "close on compile" it ends the program through the usual shut-down.
    form1_.Button3->click();
    close();
}

void TForm4::Button2Click()
{
    close();
}

void TForm4::Button4Click()
{
    form1_.CheckBox35->setChecked(false);
    close();
}

void TForm4::FormClose()
{
    // A compile in the compile window keeps the main window hidden if it
    // hid it ("close on compile"), and stays in front.
    if (!form1_.isHiddenForCompile()) {
        form1_.show();
        form1_.raise();
        form1_.activateWindow();
    }
    form1_.raiseCompileWindow();
}

void TForm4::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
}

void TForm4::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Later showings keep the place the user left it at.
    if (!placed_)
        centreOnScreen(*this);
    placed_ = true;
}
