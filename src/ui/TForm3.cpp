#include "ui/TForm3.h"

#include "platform/SystemColors.h"
#include "ui/WindowPlacement.h"

#include <QLabel>
#include <QPushButton>

namespace {

const QSize clientSize(201, 153);

// Not sized here: Qt sizes a label to its text when the window is first
// shown, and most runs never show this one.
QLabel* placedLabel(const QString& text, int top, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->move(8, top);
    return label;
}

} // namespace

TForm3::TForm3(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("about"));
    setFixedSize(clientSize);
    QPalette face = palette();
    face.setColor(QPalette::Window, platform::systemColor(platform::ColorBtnFace));
    setPalette(face);

    Label1 = placedLabel(QStringLiteral("brushwright"), 8, this);
    Label2 = placedLabel(QString(), 24, this);
    Label3 = placedLabel(QStringLiteral("runs Quake II map compilers;"), 48, this);
    Label4 = placedLabel(QStringLiteral("free software, GPL-2.0-or-later,"), 64, this);
    Label5 = placedLabel(QStringLiteral("its source code comes with it;"), 80, this);
    Label6 = placedLabel(QStringLiteral("report problems where you got it"), 96, this);

    Button1 = new QPushButton(QStringLiteral("ok"), this);
    Button1->setGeometry(160, 120, 35, 25);
    connect(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);

    FormCreate();
}

void TForm3::FormCreate()
{
    Label2->setText(QStringLiteral("v1.02"));
}

void TForm3::Button1Click()
{
    close();
}

void TForm3::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Later showings keep the place the user left it at.
    if (!placed_)
        centreOnScreen(*this);
    placed_ = true;
}
