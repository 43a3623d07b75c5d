#pragma once

#include "batch/BatchOptions.h"
#include "settings/CompilerSettings.h"
#include "settings/SettingsFile.h"
#include "ui/Dialogs.h"

#include <QPoint>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class CompileWindow;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;
class QToolButton;
class TBevelLine;
class TForm2;
class TForm3;
class TForm4;
class TProBorder;
class TProPanel;

// The main window. Its controls are the store of the option set and of the
// program settings; everything else reads them when it runs.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    TForm1(Dialogs& dialogs, const QString& programFolder, QWidget* parent = nullptr);
    ~TForm1() override;

    // Start-up; firstArgument is the first command-line argument, if any.
    void FormCreate(const QString& firstArgument);
    // Shut-down: writes the program settings, then the last-used option set.
    void FormClose();

    void setVerifyWindow(TForm2* form2) { form2_ = form2; }
    void setAboutWindow(TForm3* form3) { form3_ = form3; }
    // The prompt exists only after start-up; until then a tick only compares.
    void setPrompt(TForm4* form4) { form4_ = form4; }
    // After start-up: the verify window, the about window and the prompt,
    // where none was set, are made when first needed. Start-up makes none
    // of them, which keeps their code out of memory until then.
    void makeWindowsOnUse() { windowsOnUse_ = true; }

    // Handlers, named after their control and event.
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();
    void Button10Click();
    void Button11Click();
    void SpeedButton1Click();
    void Edit4Change(const QString& text);
    void ScrollBar1Change();
    void ScrollBar2Change();
    void ScrollBar3Change();
    void ScrollBar4Change();
    void ScrollBar5Change();
    void CheckBox35Click();
    void Timer1Timer();

    void SaveToBatch(const QString& path);
    void SaveSettings(const QString& path, const QString& header);
    void LoadSettings(const QString& path);

    // The inputs of the batch file as the controls hold them now.
    BatchOptions batchOptions() const;
    QString compileBatchFile() const;
    // The chosen mod's maps folder (baseq2's without one), and the map in it.
    QString mapsFolder() const;
    QString mapFile() const;

    // brushwright.ini as read at start-up or last set.
    const settings::CompilerSettings& compilerSettings() const { return compilerSettings_; }
    // Writes brushwright.ini at once, then takes the settings: the widgets
    // the suite has no switch for are disabled. Throws Failure when the file
    // cannot be written (and changes nothing); call it inside a handler.
    void setCompilerSettings(const settings::CompilerSettings& settings);
    QString compilerSettingsFile() const;
    bool isEndRequested() const { return endRequested_; }

    // The compile window's compile: running, and the main window hidden
    // for it ("close on compile").
    bool compileInProgress() const;
    bool isHiddenForCompile() const { return hiddenForCompile_; }
    void raiseCompileWindow();
    CompileWindow* compileWindow() const { return compileWindow_.get(); }

    // The shared values of the main window.
    QString gameDirectory;
    QString mapName;
    qint32 mapTimestamp = 0;
    std::array<double, 5> lightValues{};

    QCheckBox *CheckBox1, *CheckBox2, *CheckBox3, *CheckBox4, *CheckBox5, *CheckBox6;
    QCheckBox *CheckBox7, *CheckBox8, *CheckBox9, *CheckBox10, *CheckBox11, *CheckBox12;
    QCheckBox *CheckBox13, *CheckBox14, *CheckBox15, *CheckBox16, *CheckBox17, *CheckBox18;
    QCheckBox *CheckBox19, *CheckBox20, *CheckBox21, *CheckBox22, *CheckBox23, *CheckBox24;
    QCheckBox *CheckBox25, *CheckBox26, *CheckBox27, *CheckBox28, *CheckBox29, *CheckBox30;
    QCheckBox *CheckBox31, *CheckBox32, *CheckBox33, *CheckBox34, *CheckBox35, *CheckBox36;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4;
    QScrollBar *ScrollBar1, *ScrollBar2, *ScrollBar3, *ScrollBar4, *ScrollBar5;
    QLabel *Label1, *Label5, *Label6, *Label7, *Label8, *Label9, *Label10, *Label11;
    QLabel *Label12, *Label13, *Label14, *Label15, *Label16, *Label17, *Label18, *Label19;
    QFrame *Panel1, *Panel2, *Panel3, *Panel4, *Panel5;
    QToolButton* SpeedButton1;
    QPushButton *Button1, *Button2, *Button3, *Button4, *Button5, *Button6, *Button7, *Button8;
    QPushButton* Button10;
    QPushButton* Button11; // "compilers..." on the configuration panel
    QRadioButton *RadioButton1, *RadioButton2;
    TBevelLine *Bevel1, *Bevel2, *Bevel3, *Bevel4, *Bevel5, *Bevel6, *Bevel7, *Bevel8;
    TProPanel* ProPanel1;
    TProBorder* ProBorder1;
    QTimer* Timer1;

    FileDialogRequest OpenDialog1;
    FileDialogRequest SaveDialog1;
    FileDialogRequest SaveDialog2;
    FileDialogRequest OpenDialog2;

    // Index of the check box control for CheckBoxN, 1 to 36.
    QCheckBox* checkBox(int number) const;

signals:
    // The program is to end now that control returns to the event loop:
    // sent once the outermost handler that made the request has run to its
    // end (at once when none runs), so that every box it still shows is
    // answered by the user.
    void endRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void createCheckBoxes();
    void createLightControls();
    void createButtonsAndLabels();
    void createConfigurationPanel();
    void setTabOrder();
    void connectHandlers();

    void lightChange(int slider);
    QScrollBar* slider(int index) const;
    void selectMapFromCommandLine(const QString& argument);
    void mapSelected();
    void compile();
    void compileInWindow(const settings::CompilerSettings& compilers);
    void compileWindowClosed();
    void loadProgramSettings();
    void applySuite();
    void lookForGame();
    settings::ProgramSettings programSettings() const;
    bool askPatch(const QString& file);
    bool askCloseWithoutSaving();
    void requestEnd();
    bool handle(const std::function<void()>& step);
    TForm2* verifyWindow();
    TForm3* aboutWindow();
    TForm4* prompt();

    Dialogs& dialogs_;
    QString programFolder_;
    settings::CompilerSettings compilerSettings_;
    TForm2* form2_ = nullptr;
    TForm3* form3_ = nullptr;
    TForm4* form4_ = nullptr;
    bool windowsOnUse_ = false;
    std::unique_ptr<TForm2> ownForm2_;
    std::unique_ptr<TForm3> ownForm3_;
    std::unique_ptr<TForm4> ownForm4_;
    bool endRequested_ = false;
    int handlerDepth_ = 0;
    bool placed_ = false;
    QPoint dragOffset_;
    bool dragging_ = false;
    std::unique_ptr<CompileWindow> compileWindow_;
    bool hiddenForCompile_ = false;
};
