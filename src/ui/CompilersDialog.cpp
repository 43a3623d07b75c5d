#include "ui/CompilersDialog.h"

#include "settings/ModFolder.h"
#include "ui/Dialogs.h"
#include "ui/HandlerGuard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The choices in the order of settings::Suite.
const char* const suiteCaptions[] = {
    "id's tools (qbsp3, qvis3, qrad3)",
    "q2tools-220 (q2tool)",
    "ericw-tools (qbsp, vis, light)",
};

QLayout* withButton(QLineEdit* edit, QPushButton* button)
{
    auto* row = new QHBoxLayout;
    row->addWidget(edit, 1);
    row->addWidget(button);
    return row;
}

} // namespace

CompilersDialog::CompilersDialog(Dialogs& dialogs, const settings::CompilerSettings& settings,
                                 const QStringList& modFolders, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), settings_(settings)
{
    setWindowTitle(QStringLiteral("compilers"));
    setSizeGripEnabled(true);

    suiteBox = new QComboBox(this);
    for (const char* caption : suiteCaptions)
        suiteBox->addItem(QString::fromLatin1(caption));
    suiteBox->setCurrentIndex(int(settings.suite));

    folderEdit = new QLineEdit(settings.folder, this);
    folderEdit->setPlaceholderText(QStringLiteral("empty: the programs by name"));
    folderButton = new QPushButton(QStringLiteral("browse..."), this);
    programEdit = new QLineEdit(settings.gameProgram, this);
    programEdit->setPlaceholderText(QStringLiteral("empty: quake2 in the game folder"));
    programButton = new QPushButton(QStringLiteral("browse..."), this);
    // In the order of settings::CompileWay.
    wayBox = new QComboBox(this);
    wayBox->addItem(QStringLiteral("a console window (batch file)"));
    wayBox->addItem(QStringLiteral("Brushwright's compile window"));
    wayBox->setCurrentIndex(int(settings.way));
    stopBox = new QCheckBox(QStringLiteral("stop at the first failing step"), this);
    stopBox->setChecked(settings.stopAtFirstFailure);
    visBox = new QCheckBox(QStringLiteral("always run vis"), this);
    visBox->setChecked(!settings.reuseVis);
    visBox->setToolTip(QStringLiteral("unchecked: where the bsp step wrote the same portal file, "
                                      "the last vis of the map is used again; shift+compile "
                                      "runs every step"));
    // The console's batch file runs every line whatever fails.
    const auto windowOnly = [this](int way) {
        for (QCheckBox* box : {stopBox, visBox})
            box->setEnabled(way == int(settings::CompileWay::Window));
    };
    windowOnly(int(settings.way));
    connect(wayBox, &QComboBox::currentIndexChanged, this, windowOnly);
    // In the order of report::Engine.
    engineBox = new QComboBox(this);
    for (const QString& name : report::engineNames())
        engineBox->addItem(report::engineTitle(*report::engineNamed(name)));
    engineBox->setCurrentIndex(int(settings.engine));
    engineBox->setToolTip(QStringLiteral("the engine whose limits the map report checks"));
    modBox = new QComboBox(this);
    modBox->setEditable(true);
    // Room for a typed name; the list alone would size it to its longest.
    modBox->setMinimumContentsLength(16);
    modBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    modBox->addItem(QString());
    modBox->addItems(modFolders);
    modBox->setCurrentText(settings.mod);
    modBox->lineEdit()->setPlaceholderText(QStringLiteral("empty: baseq2"));
    modBox->setToolTip(QStringLiteral("the folder beside baseq2 whose maps folder holds the map; "
                                      "the game starts with +set game and this name"));
    for (QPushButton* button : {folderButton, programButton})
        button->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("compiler suite"), suiteBox);
    form->addRow(QStringLiteral("compilers folder"), withButton(folderEdit, folderButton));
    form->addRow(QStringLiteral("game program"), withButton(programEdit, programButton));
    form->addRow(QStringLiteral("compile in"), wayBox);
    form->addRow(QString(), stopBox);
    form->addRow(QString(), visBox);
    form->addRow(QStringLiteral("engine"), engineBox);
    form->addRow(QStringLiteral("mod folder"), modBox);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addWidget(buttons);
    setMinimumWidth(420);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(folderButton, &QPushButton::clicked, this, &CompilersDialog::browseFolder);
    connect(programButton, &QPushButton::clicked, this, &CompilersDialog::browseProgram);
}

settings::CompilerSettings CompilersDialog::settings() const
{
    settings::CompilerSettings s = settings_;
    s.suite = settings::Suite(suiteBox->currentIndex());
    s.folder = folderEdit->text();
    s.gameProgram = programEdit->text();
    s.way = settings::CompileWay(wayBox->currentIndex());
    s.stopAtFirstFailure = stopBox->isChecked();
    s.reuseVis = !visBox->isChecked();
    s.engine = report::Engine(engineBox->currentIndex());
    // baseq2 is the game's own folder, not a mod.
    const QString mod = modBox->currentText();
    s.mod = mod.compare(QLatin1String("baseq2"), Qt::CaseInsensitive) == 0 ? QString() : mod;
    return s;
}

void CompilersDialog::accept()
{
    const QString mod = modBox->currentText();
    const QString problem = settings::modProblem(mod);
    if (problem.isEmpty()) {
        QDialog::accept();
        return;
    }
    dialogs_.message(errorBoxRequest(
        QStringLiteral("The mod folder \"%1\" cannot be used: %2. A mod is the name of one "
                       "folder inside the game folder, such as jam1.")
            .arg(mod, problem)));
    modBox->setFocus();
}

void CompilersDialog::browseFolder()
{
    FileDialogRequest request;
    request.kind = FileDialogRequest::Folder;
    request.title = QStringLiteral("compilers folder");
    request.options = FileDialogRequest::PathMustExist | FileDialogRequest::EnableSizing;
    request.initialFolder = folderEdit->text();
    if (const std::optional<QString> chosen = dialogs_.fileDialog(request))
        folderEdit->setText(*chosen);
}

void CompilersDialog::browseProgram()
{
    FileDialogRequest request;
    request.kind = FileDialogRequest::Open;
    request.title = QStringLiteral("game program");
    request.filter = QStringLiteral("program|*.exe|all files|*");
    request.options = FileDialogRequest::HideReadOnly | FileDialogRequest::PathMustExist |
                      FileDialogRequest::FileMustExist | FileDialogRequest::EnableSizing;
    request.fileName = programEdit->text();
    if (const std::optional<QString> chosen = dialogs_.fileDialog(request))
        programEdit->setText(*chosen);
}
