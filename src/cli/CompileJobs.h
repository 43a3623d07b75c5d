#pragma once

#include "cli/StoredSettings.h"
#include "report/Engine.h"
#include "run/StepRunner.h"

#include <QStringList>
#include <optional>
#include <variant>

// brushwright --compile MAP... [--suite S] [--engine E] [--json] [--full]:
// the arguments, and for each map the steps the compile window would run.
namespace cli {

struct CompileArguments {
    QStringList maps;
    std::optional<settings::Suite> suite;
    std::optional<report::Engine> engine;
    bool json = false;
    bool full = false;

    bool operator==(const CompileArguments&) const = default;
};

// The arguments as the program got them (its name first), or what is wrong
// with them.
std::variant<CompileArguments, QString> parseCompileArguments(const QStringList& arguments);

struct MapJob {
    QString mapPath; // absolute, local
    QString suite;   // "id", "q2tools", "ericw"
    QList<run::RunStep> steps;
    run::StepRunner::Options runner;
    QString logPath;
    report::Engine engine = report::Engine::Vanilla;
};

// Each map's compile, in the order given. Throws Failure, naming the map
// and what is wrong, for a map that cannot be compiled (missing, a folder
// or a pipe, named twice, not in a maps folder, not under a quake2 folder
// for id's tools) or a compiler that cannot be found: then nothing runs.
// cacheFolder: where vis is kept; empty: never reused.
QList<MapJob> compileJobs(const CompileArguments& arguments, const StoredSettings& stored,
                          const QString& cacheFolder);

} // namespace cli
