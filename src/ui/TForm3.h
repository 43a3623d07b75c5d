#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about window: the program's name, its version and who made it. Shown
// modally by the main window's "about..."; closing it only hides it.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

    void FormCreate();
    void Button1Click();

    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6;
    QPushButton* Button1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool placed_ = false;
};
