#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class TForm1;

// The AutoCompile prompt, brought up above every window when the watched
// map is saved. Not modal: the watcher keeps ticking while it is up. Every
// way out of it, its close box included, brings the main window back.
class TForm4 : public QWidget {
    Q_OBJECT
public:
    explicit TForm4(TForm1& form1, QWidget* parent = nullptr);

    void Button1Click();
    void Button2Click();
    void Button4Click();
    void FormClose();

    QLabel* Label1;
    QPushButton *Button1, *Button2, *Button4;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    TForm1& form1_;
    bool placed_ = false;
};
