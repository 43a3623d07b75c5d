#pragma once

#include <QDialog>

class QAction;
class QMenuBar;
class QPlainTextEdit;

// The verification window: shows the compile batch file for reading and
// editing before it runs. Its result is 1 for "compile", 2 for "cancel".
class TForm2 : public QDialog {
    Q_OBJECT
public:
    enum Result { Compile = 1, Cancel = 2 };

    explicit TForm2(QWidget* parent = nullptr);

    // The batch file's text, in the command interpreter's code page; line
    // breaks shown as CR LF.
    void setFileText(const QByteArray& bytes);
    // The text as the user left it, ready to be written back unchanged.
    QByteArray fileText() const;

    void compile1Click();
    void cancel1Click();

    // Made when the window is first shown or given its text: most runs
    // never show it, and a menu bar loads the image plug-ins for its icon.
    QPlainTextEdit* Memo1 = nullptr;
    QMenuBar* MainMenu1 = nullptr;
    QAction* compile1 = nullptr;
    QAction* cancel1 = nullptr;

public slots:
    void reject() override;
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createContents();

    bool placed_ = false;
};
