#pragma once

// The real program (BRUSHWRIGHT_EXE) run to its end with the environment
// given. Header only.
#include <QProcess>
#include <QString>
#include <QStringList>

struct ProgramRun {
    int exitCode = -1; // -1: crashed or timed out
    QString out, err;
};

inline ProgramRun runProgram(QProcessEnvironment environment, const QStringList& arguments)
{
    QProcess program;
    // The sanitizers' build: see tests/keeploaded.
    if (qEnvironmentVariableIsSet("BRUSHWRIGHT_VIEW_PRELOAD"))
        environment.insert(QStringLiteral("LD_PRELOAD"),
                           qEnvironmentVariable("BRUSHWRIGHT_VIEW_PRELOAD"));
    program.setProcessEnvironment(environment);
    program.start(qEnvironmentVariable("BRUSHWRIGHT_EXE"), arguments);
    if (!program.waitForFinished(60000))
        return {};
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            QString::fromUtf8(program.readAllStandardOutput()),
            QString::fromUtf8(program.readAllStandardError())};
}
