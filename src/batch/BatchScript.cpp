#include "batch/BatchScript.h"

#include "batch/SuiteTable.h"
#include "map/MapName.h"
#include "platform/PathMapping.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace batch {

namespace {

// A compilers folder names each program by its full path, in the Windows
// form the batch file needs.
QString programPath(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return name;
    QString path = platform::windowsPath(folder);
    while (path.endsWith(QLatin1Char('\\')) || path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path + QLatin1Char('\\') + name;
}

CompileStep compilerStep(CompileStep::Kind kind, const SuiteTable& table,
                         const settings::CompilerSettings& compilers, const BatchOptions& o)
{
    const StepTable& stepTable = table.steps[std::size_t(kind)];
    CompileStep step{kind, programPath(compilers.folder, QLatin1String(stepTable.program)), {}};
    const auto add = [&step](const char* text, const QString* value) {
        step.arguments << QString::fromLatin1(text).split(QLatin1Char(' '));
        if (value)
            step.arguments << *value;
    };
    if (*stepTable.mode)
        step.arguments << QLatin1String(stepTable.mode);
    if (!compilers.mod.isEmpty() && *stepTable.inMod)
        add(stepTable.inMod, nullptr);
    if (o.checkBox[26])
        add("-threads", &o.edit3);
    for (const Switch& s : stepTable.switches) {
        if (o.checkBox[std::size_t(s.checkBox)] == (s.when == When::Checked))
            add(s.text, s.value ? &(o.*s.value) : nullptr);
    }
    if (kind == CompileStep::Kind::Light) {
        for (std::size_t i = 0; i < o.light.size(); ++i) {
            if (!table.lightSwitches[i])
                continue;
            // The compilers read numbers in the C locale: always a point.
            const QString value = formatDecimal(o.light[i], QLatin1Char('.'));
            add(table.lightSwitches[i], &value);
        }
    }
    step.arguments << o.mapName;
    return step;
}

// A bare name ("qbsp3") is written as it is; a path is quoted, without
// any quote of its own, which would end the quoting early.
bool isBareName(const QString& program)
{
    return std::all_of(program.begin(), program.end(), [](QChar c) {
        return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('-') ||
               c == QLatin1Char('.');
    });
}

} // namespace

QList<CompileStep> compileSteps(const BatchOptions& o, const settings::CompilerSettings& compilers)
{
    const SuiteTable& table = suiteTable(compilers.suite);
    QList<CompileStep> steps;
    if (o.checkBox[30])
        steps << compilerStep(CompileStep::Kind::Bsp, table, compilers, o);
    if (o.checkBox[31])
        steps << compilerStep(CompileStep::Kind::Vis, table, compilers, o);
    if (o.checkBox[32])
        steps << compilerStep(CompileStep::Kind::Light, table, compilers, o);
    if (o.checkBox[27]) {
        const QString program = compilers.gameProgram.isEmpty()
                                    ? QStringLiteral("quake2")
                                    : platform::windowsPath(compilers.gameProgram);
        CompileStep game{CompileStep::Kind::Game, program, {}};
        if (!compilers.mod.isEmpty())
            game.arguments << QStringLiteral("+set") << QStringLiteral("game") << compilers.mod;
        if (o.checkBox[36])
            game.arguments << QStringLiteral("+deathmatch") << QStringLiteral("1");
        game.arguments << QStringLiteral("+map") << o.mapName;
        steps << game;
    }
    return steps;
}

QString commandText(const CompileStep& step)
{
    QString program = step.program;
    if (!isBareName(program))
        program = QLatin1Char('"') + program.remove(QLatin1Char('"')) + QLatin1Char('"');
    return program + QLatin1Char(' ') + step.arguments.join(QLatin1Char(' '));
}

QString driveText(const QString& gameDirectory)
{
    if (gameDirectory.size() >= 2 && gameDirectory.at(1) == QLatin1Char(':'))
        return gameDirectory.left(2);
    if (!gameDirectory.startsWith(QLatin1String("\\\\")))
        return {};
    const qsizetype afterServer = gameDirectory.indexOf(QLatin1Char('\\'), 2);
    if (afterServer < 0)
        return gameDirectory;
    const qsizetype afterShare = gameDirectory.indexOf(QLatin1Char('\\'), afterServer + 1);
    return afterShare < 0 ? gameDirectory : gameDirectory.left(afterShare);
}

QString directoryTail(const QString& gameDirectory)
{
    return gameDirectory.mid(3);
}

QString formatDecimal(double value, QChar separator)
{
    if (!std::isfinite(value))
        return QString::number(value);
    char digits[32];
    // d.dddddddddddddde±x: 15 significant digits and the exponent. to_chars
    // ignores the C locale, whose decimal point may be several bytes long.
    const auto end = std::to_chars(digits, digits + sizeof digits - 1, std::fabs(value),
                                   std::chars_format::scientific, 14)
                         .ptr;
    *end = '\0';
    QString mantissa = QString::fromLatin1(digits, 16).remove(1, 1);
    const int exponent = std::atoi(digits + 17);
    while (mantissa.size() > 1 && mantissa.endsWith(QLatin1Char('0')))
        mantissa.chop(1);
    if (mantissa == QLatin1String("0"))
        return QStringLiteral("0");

    QString whole;
    QString fraction;
    if (exponent < 0) {
        whole = QStringLiteral("0");
        fraction = QString(-exponent - 1, QLatin1Char('0')) + mantissa;
    } else if (exponent + 1 >= mantissa.size()) {
        whole = mantissa + QString(exponent + 1 - mantissa.size(), QLatin1Char('0'));
    } else {
        whole = mantissa.left(exponent + 1);
        fraction = mantissa.mid(exponent + 1);
    }
    QString text = value < 0 ? QStringLiteral("-") + whole : whole;
    if (!fraction.isEmpty())
        text += separator + fraction;
    return text;
}

QString escapeCommandLine(const QString& line)
{
    QString escaped;
    escaped.reserve(line.size());
    bool quoted = false;
    for (QChar c : line) {
        // A line break would start a command of its own.
        if (QStringView(u"\r\n\v\f\u0085\u2028\u2029").contains(c))
            c = QLatin1Char(' ');
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        if (c == QLatin1Char('%')) {
            escaped += QLatin1String("%%");
            continue;
        }
        if (!quoted && QStringView(u"&|<>^").contains(c))
            escaped += QLatin1Char('^');
        escaped += c;
    }
    return escaped;
}

QStringList batchLines(const BatchOptions& o, const settings::CompilerSettings& compilers)
{
    // A Linux game folder is reached through Wine's Z: drive.
    const QString game = platform::windowsPath(o.gameDirectory);
    const QString tail = directoryTail(game);
    QStringList lines = {
        QStringLiteral("cls"),
        QStringLiteral("@echo off"),
        QStringLiteral("echo brushwright v1.02"),
        QStringLiteral("echo ============================="),
        QStringLiteral("echo."),
    };
    // Everything below carries user text.
    QStringList commands;
    commands << driveText(game)
             << QStringLiteral("cd\\") + tail + QLatin1Char('\\') +
                    map::gameFolderName(compilers.mod) + QStringLiteral("\\maps");
    const bool pauseEach = o.checkBox[34];
    const bool pauseAfter = o.checkBox[33];
    bool gameStarted = false;
    for (const CompileStep& step : compileSteps(o, compilers)) {
        if (step.kind == CompileStep::Kind::Game) {
            commands << QStringLiteral("cd\\") + tail << commandText(step);
            if (pauseAfter)
                commands << QStringLiteral("pause");
            gameStarted = true;
            continue;
        }
        commands << commandText(step);
        if (pauseEach)
            commands << QStringLiteral("pause");
    }
    if (!gameStarted && pauseAfter && !pauseEach)
        commands << QStringLiteral("pause");
    for (const QString& command : commands)
        lines << escapeCommandLine(command);
    return lines;
}

} // namespace batch
