#include "batch/BatchScript.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace batch {

namespace {

enum class When { Checked, Unchecked };

struct Switch {
    int checkBox;
    When when;
    const char* text;
    QString BatchOptions::*value = nullptr;
};

// Order as the compilers' switches are written; the threads switch is added
// first to every line separately.
const Switch qbsp3Switches[] = {
    {1, When::Unchecked, "-noprune"},  {2, When::Checked, "-glview"},
    {3, When::Unchecked, "-nodetail"}, {4, When::Checked, "-fulldetail"},
    {5, When::Checked, "-onlyents"},   {6, When::Unchecked, "-nomerge"},
    {7, When::Unchecked, "-nowater"},  {8, When::Unchecked, "-nocsg"},
    {9, When::Checked, "-noweld"},     {10, When::Checked, "-chop", &BatchOptions::edit1},
    {11, When::Unchecked, "-noshare"}, {12, When::Unchecked, "-notjunc"},
    {13, When::Checked, "-noopt"},     {14, When::Checked, "-leaktest"},
    {15, When::Checked, "-v"},         {16, When::Checked, "-verboseentities"},
};

const Switch qvis3Switches[] = {
    {17, When::Checked, "-fast"},
    {18, When::Unchecked, "-nosort"},
    {19, When::Checked, "-v"},
};

const Switch qrad3Switches[] = {
    {20, When::Checked, "-dump"},   {21, When::Checked, "-bounce", &BatchOptions::edit2},
    {22, When::Checked, "-v"},      {23, When::Checked, "-extra"},
    {24, When::Checked, "-glview"}, {25, When::Unchecked, "-nopvs"},
};

const char* const lightSwitches[] = {"-scale", "-direct", "-entity", "-ambient", "-maxlight"};

template <std::size_t N>
CompileStep compilerStep(CompileStep::Kind kind, const char* compiler, const Switch (&switches)[N],
                         const BatchOptions& o, bool withLight)
{
    CompileStep step{kind, QLatin1String(compiler), {}};
    const auto add = [&step](const char* text, const QString* value) {
        step.arguments << QLatin1String(text);
        if (value)
            step.arguments << *value;
    };
    if (o.checkBox[26])
        add("-threads", &o.edit3);
    for (const Switch& s : switches) {
        if (o.checkBox[s.checkBox] == (s.when == When::Checked))
            add(s.text, s.value ? &(o.*s.value) : nullptr);
    }
    if (withLight) {
        for (std::size_t i = 0; i < o.light.size(); ++i) {
            // The compilers read numbers in the C locale: always a point.
            const QString value = formatDecimal(o.light[i], QLatin1Char('.'));
            add(lightSwitches[i], &value);
        }
    }
    step.arguments << o.mapName;
    return step;
}

} // namespace

QList<CompileStep> compileSteps(const BatchOptions& o)
{
    QList<CompileStep> steps;
    if (o.checkBox[30])
        steps << compilerStep(CompileStep::Kind::Bsp, "qbsp3", qbsp3Switches, o, false);
    if (o.checkBox[31])
        steps << compilerStep(CompileStep::Kind::Vis, "qvis3", qvis3Switches, o, false);
    if (o.checkBox[32])
        steps << compilerStep(CompileStep::Kind::Light, "qrad3", qrad3Switches, o, true);
    if (o.checkBox[27]) {
        CompileStep game{CompileStep::Kind::Game, QStringLiteral("quake2"), {}};
        if (o.checkBox[36])
            game.arguments << QStringLiteral("+deathmatch") << QStringLiteral("1");
        game.arguments << QStringLiteral("+map") << o.mapName;
        steps << game;
    }
    return steps;
}

QString commandText(const CompileStep& step)
{
    return step.program + QLatin1Char(' ') + step.arguments.join(QLatin1Char(' '));
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

QStringList batchLines(const BatchOptions& o)
{
    const QString tail = directoryTail(o.gameDirectory);
    QStringList lines = {
        QStringLiteral("cls"),
        QStringLiteral("@echo off"),
        QStringLiteral("echo brushwright v1.02"),
        QStringLiteral("echo ============================="),
        QStringLiteral("echo."),
    };
    // Everything below carries user text.
    QStringList commands;
    commands << driveText(o.gameDirectory)
             << QStringLiteral("cd\\") + tail + QStringLiteral("\\baseq2\\maps");
    const bool pauseEach = o.checkBox[34];
    const bool pauseAfter = o.checkBox[33];
    bool gameStarted = false;
    for (const CompileStep& step : compileSteps(o)) {
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
