// The second way of compiling: the steps run in Brushwright's compile
// window instead of a batch file in a console.
#include "batch/BatchScript.h"
#include "run/Launch.h"
#include "settings/CompilerSettingsFile.h"
#include "ui/CompileWindow.h"
#include "ui/TForm1.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QStandardPaths>

namespace {

// Vis is reused unless the settings or a shift-click say to run it.
std::optional<run::VisReuseSettings> visReuse(const settings::CompilerSettings& compilers,
                                              const QString& mapPath)
{
    run::VisReuseSettings reuse;
    reuse.cacheFolder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (reuse.cacheFolder.isEmpty())
        return std::nullopt;
    reuse.mapPath = mapPath;
    reuse.suite = settings::suiteName(compilers.suite);
    if (!compilers.reuseVis)
        reuse.forced = QStringLiteral("always run vis");
    else if (QGuiApplication::keyboardModifiers() & Qt::ShiftModifier)
        reuse.forced = QStringLiteral("shift held");
    return reuse;
}

} // namespace

void TForm1::compileInWindow(const settings::CompilerSettings& compilers)
{
    // Never two compiles at once.
    if (compileInProgress()) {
        compileWindow_->bringToFront();
        return;
    }
    const run::Places places = run::placesFor(gameDirectory, compilers.folder, compilers.mod);
    QList<run::RunStep> steps;
    for (const CompileStep& step : batch::compileSteps(batchOptions(), compilers))
        steps << run::RunStep{step.kind, run::launchFor(step, places), mapName};
    if (!compileWindow_) {
        compileWindow_ = std::make_unique<CompileWindow>();
        connect(compileWindow_.get(), &CompileWindow::closed, this, &TForm1::compileWindowClosed);
    }
    CompileWindow::Options options;
    options.runner.stopAtFirstFailure = compilers.stopAtFirstFailure;
    options.runner.pauseBetween = CheckBox34->isChecked();
    options.pauseAfter = CheckBox33->isChecked();
    options.logPath = places.mapsFolder + QStringLiteral("/Brushwright.log");
    options.mapPath = places.mapsFolder + QLatin1Char('/') + mapName + QStringLiteral(".map");
    options.engine = compilers.engine;
    options.runner.visReuse = visReuse(compilers, options.mapPath);
    compileWindow_->start(steps, options);
    compileWindow_->bringToFront();
    hiddenForCompile_ = CheckBox28->isChecked();
    if (hiddenForCompile_)
        hide();
}

bool TForm1::compileInProgress() const
{
    return compileWindow_ && compileWindow_->isRunning();
}

void TForm1::raiseCompileWindow()
{
    if (compileWindow_ && (compileWindow_->isVisible() || compileInProgress()))
        compileWindow_->bringToFront();
}

void TForm1::compileWindowClosed()
{
    // "close on compile": the program ends as closing its window ends it.
    if (!hiddenForCompile_)
        return;
    hiddenForCompile_ = false;
    close();
}
