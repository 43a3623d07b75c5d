#include "ui/TForm2.h"

#include "platform/CodePage.h"

#include <QAction>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {
const QSize outerSize(358, 319);
}

TForm2::TForm2(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("verify batch file"));
    setSizeGripEnabled(false);
    // Until the window system tells the frame, assume a thin one.
    resize(outerSize - QSize(8, 27));
}

void TForm2::createContents()
{
    if (Memo1)
        return;
    Memo1 = new QPlainTextEdit(this);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    MainMenu1 = new QMenuBar(this);
    compile1 = MainMenu1->addAction(QStringLiteral("compile"));
    cancel1 = MainMenu1->addAction(QStringLiteral("cancel"));
    connect(compile1, &QAction::triggered, this, &TForm2::compile1Click);
    connect(cancel1, &QAction::triggered, this, &TForm2::cancel1Click);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(Memo1);
}

void TForm2::setFileText(const QByteArray& bytes)
{
    createContents();
    QString text = platform::decodeText(bytes, platform::CodePage::Oem);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    Memo1->setPlainText(text);
}

QByteArray TForm2::fileText() const
{
    if (!Memo1)
        return {};
    // The raw text keeps every character (toPlainText would turn no-break
    // spaces into blanks); its paragraph separators are the line breaks.
    QString text = Memo1->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return platform::encodeText(text, platform::CodePage::Oem);
}

void TForm2::compile1Click()
{
    done(Compile);
}

void TForm2::cancel1Click()
{
    done(Cancel);
}

void TForm2::reject()
{
    // Esc and the close box count as "cancel".
    done(Cancel);
}

void TForm2::setVisible(bool visible)
{
    // Before the window is laid out for showing.
    if (visible)
        createContents();
    QDialog::setVisible(visible);
}

void TForm2::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (placed_)
        return;
    placed_ = true;
    const QSize frame = frameGeometry().size() - geometry().size();
    if (!frame.isEmpty())
        resize(outerSize - frame);
    if (const QScreen* screen = this->screen()) {
        QRect placed(QPoint(), outerSize);
        placed.moveCenter(screen->availableGeometry().center());
        move(placed.topLeft());
    }
}
