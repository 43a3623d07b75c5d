#include "cli/CompileSummary.h"

#include "report/CompileReport.h"
#include "report/Engine.h"
#include "report/ReportText.h"
#include "run/CompileOutput.h"

#include <QDir>
#include <algorithm>

namespace cli {

namespace {

const QStringList stepColumns = {QStringLiteral("bsp"), QStringLiteral("vis"),
                                 QStringLiteral("light")};

QString plural(qsizetype count, const QString& one, const QString& many)
{
    return QString::number(count) + QLatin1Char(' ') + (count == 1 ? one : many);
}

// What the report finds that a player would meet.
QStringList reportProblems(const report::MapReport& report)
{
    QStringList problems;
    if (report.leak)
        problems << QStringLiteral("leak from ") + report::leakEndText(*report.leak);
    const auto over = std::count_if(
        report.limits.cbegin(), report.limits.cend(),
        [](const report::LimitRow& row) { return row.state == report::LimitState::Over; });
    if (over > 0)
        problems << plural(over, QStringLiteral("over the limit"),
                           QStringLiteral("over the limit"));
    if (report.formatSupported == false)
        problems << QStringLiteral("%1 not loaded by %2")
                        .arg(report.format, report::engineTitle(report.engine));
    if (report.missingTextures && !report.missingTextures->isEmpty())
        problems << plural(report.missingTextures->size(), QStringLiteral("texture missing"),
                           QStringLiteral("textures missing"));
    return problems;
}

QString shownPath(const QString& path)
{
    const QString relative = QDir::current().relativeFilePath(path);
    return QDir::toNativeSeparators(relative.startsWith(QLatin1String("..")) ? path : relative);
}

QString cell(const StepRecord* record)
{
    if (!record)
        return QStringLiteral("-");
    const run::StepResult& r = record->result;
    if (r.state == run::StepState::Skipped || r.state == run::StepState::Waiting)
        return run::stateText(r.state);
    return run::stateText(r.state) + QLatin1Char(' ') + run::secondsText(r.milliseconds);
}

QString jsonList(const QStringList& items)
{
    QStringList quoted;
    for (const QString& item : items)
        quoted << report::jsonString(item);
    return QLatin1Char('[') + quoted.join(QStringLiteral(", ")) + QLatin1Char(']');
}

QString stepJson(const StepRecord& record)
{
    const run::StepResult& r = record.result;
    // A step that never ended is one the compile did not get to.
    const run::StepState state =
        r.state == run::StepState::Waiting ? run::StepState::Skipped : r.state;
    return QStringLiteral("{\"step\": %1, \"program\": %2, \"arguments\": %3, \"state\": %4, "
                          "\"seconds\": %5, \"reason\": %6}")
        .arg(report::jsonString(record.step), report::jsonString(record.program),
             jsonList(record.arguments), report::jsonString(run::stateText(state)),
             QString::number(double(r.milliseconds) / 1000.0, 'f', 3),
             r.reason.isEmpty() ? QStringLiteral("null") : report::jsonString(r.reason));
}

} // namespace

QString verdict(const MapResult& result)
{
    if (result.interrupted)
        return QStringLiteral("interrupted");
    for (const StepRecord& record : result.steps) {
        const run::StepResult& r = record.result;
        if (r.state != run::StepState::Failed)
            continue;
        if (r.reason.startsWith(QLatin1String("leak")) && result.report && result.report->leak)
            return QStringLiteral("failed: leak from ") + report::leakEndText(*result.report->leak);
        return QStringLiteral("failed: %1: %2").arg(record.step, r.reason);
    }
    if (!result.report)
        return QStringLiteral("no report: ") + result.reportProblem;
    const QStringList problems = reportProblems(*result.report);
    return problems.isEmpty() ? QStringLiteral("ok") : problems.join(QStringLiteral(", "));
}

bool succeeded(const MapResult& result)
{
    return verdict(result) == QLatin1String("ok");
}

QString summaryTable(const QList<MapResult>& results)
{
    QList<QStringList> rows = {QStringList{QStringLiteral("map"), QStringLiteral("suite")} +
                               stepColumns + QStringList{QStringLiteral("verdict")}};
    for (const MapResult& result : results) {
        QStringList row{shownPath(result.mapPath), result.suite};
        for (const QString& step : stepColumns) {
            const auto it = std::find_if(result.steps.cbegin(), result.steps.cend(),
                                         [&](const StepRecord& r) { return r.step == step; });
            row << cell(it == result.steps.cend() ? nullptr : &*it);
        }
        rows << row + QStringList{verdict(result)};
    }
    QList<qsizetype> widths(rows.first().size(), 0);
    for (const QStringList& row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], row.at(i).size());
    }
    QString text;
    for (const QStringList& row : rows) {
        QString line;
        for (qsizetype i = 0; i < row.size(); ++i)
            line += i + 1 < row.size() ? row.at(i).leftJustified(widths[i] + 2) : row.at(i);
        text += line + QLatin1Char('\n');
    }
    return text;
}

QString summaryJson(const QList<MapResult>& results)
{
    QStringList maps;
    bool ok = !results.isEmpty();
    for (const MapResult& result : results) {
        ok = ok && succeeded(result);
        QStringList steps;
        for (const StepRecord& record : result.steps)
            steps << stepJson(record);
        const QString reportObject =
            result.report ? report::reportJson(*result.report).trimmed() : QStringLiteral("null");
        maps << QStringLiteral("{\"map\": %1, \"suite\": %2, \"steps\": [%3], \"report\": %4}")
                    .arg(report::jsonString(QDir::toNativeSeparators(result.mapPath)),
                         report::jsonString(result.suite), steps.join(QStringLiteral(", ")),
                         reportObject);
    }
    return QStringLiteral("{\"ok\": %1, \"maps\": [%2]}\n")
        .arg(ok ? QStringLiteral("true") : QStringLiteral("false"),
             maps.join(QStringLiteral(", ")));
}

int exitCodeOf(const QList<MapResult>& results, bool interrupted)
{
    if (interrupted)
        return 130;
    return std::all_of(results.cbegin(), results.cend(), succeeded) ? 0 : 1;
}

} // namespace cli
