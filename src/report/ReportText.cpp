#include "report/ReportText.h"

#include "leak/LeakPath.h"

#include <QLocale>
#include <QStringList>
#include <cmath>

namespace report {

namespace {

QString number(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("null");
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString jsonPoint(const map::Vec3& p)
{
    return QStringLiteral("[%1, %2, %3]").arg(number(p.x), number(p.y), number(p.z));
}

QString orNull(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("null") : jsonString(text);
}

} // namespace

QString stateName(LimitState state)
{
    switch (state) {
    case LimitState::Near:
        return QStringLiteral("near");
    case LimitState::Over:
        return QStringLiteral("over");
    case LimitState::Ok:
        break;
    }
    return QStringLiteral("ok");
}

QString jsonString(const QString& text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\') {
            out += u'\\';
            out += c;
        } else if (c == u'\n') {
            out += QStringLiteral("\\n");
        } else if (c == u'\t') {
            out += QStringLiteral("\\t");
        } else if (c == u'\r') {
            out += QStringLiteral("\\r");
        } else if (c.unicode() < 0x20) {
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out + u'"';
}

QString leakJson(const LeakReport& leak)
{
    return QStringLiteral("{\"entity\": %1, \"origin\": %2, \"void\": %3, \"points\": %4, "
                          "\"length\": %5, \"file\": %6}")
        .arg(jsonString(leak.entity), jsonPoint(leak.origin), jsonPoint(leak.voidEnd))
        .arg(leak.points)
        .arg(number(std::round(leak.length * 10) / 10), orNull(leak.file));
}

QString leakText(const LeakReport& leak)
{
    return leak::leakSentence(leak) +
           QStringLiteral(" The path has %1 points, %2 units; point file: %3")
               .arg(leak.points)
               .arg(QString::number(leak.length, 'f', 1), leak.file);
}

QString pvsJson(const std::optional<scene::PvsFigures>& pvs)
{
    if (!pvs)
        return QStringLiteral("null");
    QStringList worst;
    for (const scene::PvsFigures::Cluster& c : pvs->worst) {
        const map::Vec3 point{c.point.x, c.point.y, c.point.z};
        worst.append(QStringLiteral("{\"cluster\": %1, \"faces\": %2, \"point\": %3}")
                         .arg(c.cluster)
                         .arg(c.faces)
                         .arg(jsonPoint(point)));
    }
    return QStringLiteral("{\"clusters\": %1, \"maxFaces\": %2, \"meanFaces\": %3, "
                          "\"worst\": [%4]}")
        .arg(pvs->clusters)
        .arg(pvs->maxFaces)
        .arg(number(pvs->meanFaces), worst.join(QStringLiteral(", ")));
}

QString pvsText(const MapReport& r)
{
    if (r.pvs && !r.pvs->worst.empty()) {
        const scene::PvsFigures::Cluster& worst = r.pvs->worst.front();
        const map::Vec3 point{worst.point.x, worst.point.y, worst.point.z};
        return QStringLiteral("Visible sets: at most %1 faces to draw, from cluster %2 at %3 "
                              "(mean %4 over %5 clusters)\n")
            .arg(worst.faces)
            .arg(worst.cluster)
            .arg(leak::pointText(point))
            .arg(QString::number(r.pvs->meanFaces, 'f', 1))
            .arg(r.pvs->clusters);
    }
    if (!r.pvsProblem.isEmpty())
        return QStringLiteral("Visible sets: not counted, %1\n").arg(r.pvsProblem);
    return r.bspPath.isEmpty() ? QString()
                               : QStringLiteral("Visible sets: no vis (everything is drawn)\n");
}

QString reportJson(const MapReport& r)
{
    QStringList limits;
    for (const LimitRow& row : r.limits) {
        limits.append(QStringLiteral("{\"name\": %1, \"count\": %2, \"max\": %3, \"state\": %4}")
                          .arg(jsonString(row.name))
                          .arg(row.count)
                          .arg(row.max ? QString::number(*row.max) : QStringLiteral("null"),
                               jsonString(stateName(row.state))));
    }
    QString textures = QStringLiteral("null");
    if (r.missingTextures) {
        QStringList names;
        for (const QString& name : *r.missingTextures)
            names.append(jsonString(name));
        textures = QLatin1Char('[') + names.join(QStringLiteral(", ")) + QLatin1Char(']');
    }
    const QString supported = !r.formatSupported   ? QStringLiteral("null")
                              : *r.formatSupported ? QStringLiteral("true")
                                                   : QStringLiteral("false");
    return QStringLiteral("{\"map\": %1, \"bsp\": %2, \"engine\": %3, \"format\": %4, "
                          "\"formatSupported\": %5, \"limits\": [%6], "
                          "\"missingTextures\": %7, \"leak\": %8, \"pvs\": %9}\n")
        .arg(orNull(r.mapPath), orNull(r.bspPath), jsonString(engineName(r.engine)),
             orNull(r.format), supported, limits.join(QStringLiteral(", ")), textures,
             r.leak ? leakJson(*r.leak) : QStringLiteral("null"), pvsJson(r.pvs));
}

QString reportText(const MapReport& r)
{
    QString out;
    if (!r.mapPath.isEmpty())
        out += QStringLiteral("Map:     %1\n").arg(r.mapPath);
    if (!r.bspPath.isEmpty())
        out += QStringLiteral("BSP:     %1\n").arg(r.bspPath);
    out += QStringLiteral("Engine:  %1\n").arg(engineTitle(r.engine));
    if (r.formatSupported) {
        out += QStringLiteral("Format:  %1, %2\n")
                   .arg(r.format, *r.formatSupported ? QStringLiteral("loads in this engine")
                                                     : QStringLiteral("NOT SUPPORTED: this "
                                                                      "engine loads IBSP only"));
    } else {
        out += QStringLiteral("Format:  no .bsp beside the map\n");
    }
    if (!r.limits.isEmpty()) {
        QList<QStringList> cells = {{QStringLiteral("limit"), QStringLiteral("count"),
                                     QStringLiteral("max"), QStringLiteral("state"), QString()}};
        for (const LimitRow& row : r.limits) {
            const QString state = stateName(row.state);
            cells.append({row.name, QString::number(row.count),
                          row.max ? QString::number(*row.max) : QStringLiteral("-"),
                          row.state == LimitState::Over ? state.toUpper() : state,
                          row.state == LimitState::Over ? row.engineError : QString()});
        }
        int widths[4] = {};
        for (const QStringList& line : cells) {
            for (int i = 0; i < 4; ++i)
                widths[i] = std::max(widths[i], int(line[i].size()));
        }
        out += u'\n';
        for (const QStringList& line : cells) {
            QString text = line[0].leftJustified(widths[0]) + QStringLiteral("  ") +
                           line[1].rightJustified(widths[1]) + QStringLiteral("  ") +
                           line[2].rightJustified(widths[2]) + QStringLiteral("  ") +
                           line[3].leftJustified(widths[3]) + QStringLiteral("  ") + line[4];
            out += text.trimmed() + u'\n';
        }
        out += u'\n';
    }
    if (r.missingTextures) {
        if (r.missingTextures->isEmpty()) {
            out += QStringLiteral("Textures: all found\n");
        } else {
            out += QStringLiteral("Missing textures (%1):\n").arg(r.missingTextures->size());
            for (const QString& name : *r.missingTextures)
                out += QStringLiteral("  %1\n").arg(name);
        }
    }
    if (r.leak)
        out += leakText(*r.leak) + u'\n';
    return out + pvsText(r);
}

} // namespace report
