#include "run/VisReuse.h"

#include "bsp/BspFile.h"
#include "bsp/LumpReplacement.h"
#include "bsp/WorldLeafs.h"
#include "platform/Failure.h"
#include "platform/MappedFile.h"
#include "platform/TextFile.h"
#include "run/StepRunner.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace run {

namespace {

// File times may be coarser than the clock: a file written in the compile's
// first moments may look a little older than its start.
constexpr qint64 timeSlackMs = 2000;

bool writtenSince(const QFileInfo& file, const QDateTime& since)
{
    return file.exists() && file.lastModified().msecsTo(since) <= timeSlackMs;
}

QByteArray digest(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

// "PRT1", then the counts of clusters and portals, one a line.
bool isPortalFile(const QByteArray& bytes)
{
    if (!bytes.startsWith("PRT1"))
        return false;
    const QList<QByteArray> lines = bytes.left(64).split('\n');
    if (lines.size() < 3 || lines.at(0).trimmed() != "PRT1")
        return false;
    bool clusters = false, portals = false;
    lines.at(1).trimmed().toUInt(&clusters);
    lines.at(2).trimmed().toUInt(&portals);
    return clusters && portals;
}

QByteArray clustersDigest(const std::vector<bsp::LeafCluster>& clusters)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const bsp::LeafCluster& leaf : clusters) {
        const std::int32_t pair[2] = {leaf.leaf, leaf.cluster};
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(pair), sizeof pair));
    }
    return hash.result();
}

} // namespace

VisDecision decideVis(const VisFacts& facts)
{
    if (!facts.forced.isEmpty())
        return {false, facts.forced};
    if (!facts.bspDone)
        return {false, QStringLiteral("bsp step failed")};
    if (!facts.bspUnchanged)
        return {false, QStringLiteral("bsp changed")};
    if (!facts.nowProblem.isEmpty())
        return {false, facts.nowProblem};
    if (!facts.kept.entry)
        return {false, facts.kept.problem};
    const VisKey& was = facts.kept.entry->key;
    const VisKey& now = facts.now;
    if (was.suite != now.suite)
        return {false, QStringLiteral("suite changed")};
    if (was.program != now.program || was.programStamp != now.programStamp)
        return {false, QStringLiteral("program changed")};
    if (was.arguments != now.arguments)
        return {false, QStringLiteral("switches changed")};
    if (was.format != now.format)
        return {false, QStringLiteral("format changed")};
    if (was.portals != now.portals)
        return {false, QStringLiteral("portals changed")};
    if (was.clusters != now.clusters)
        return {false, QStringLiteral("leafs changed")};
    return {true, QStringLiteral("portals unchanged since ") + sinceText(facts.kept.entry->ranAt)};
}

QString sinceText(const QDateTime& time, const QDateTime& now)
{
    const QLocale c = QLocale::c();
    return time.date() == now.date() ? c.toString(time, QStringLiteral("HH:mm"))
                                     : c.toString(time, QStringLiteral("d MMM HH:mm"));
}

VisReuse::VisReuse(VisReuseSettings settings)
    : settings_(std::move(settings)), startedAt_(QDateTime::currentDateTime())
{
}

void VisReuse::bspEnded(const StepResult& result, const Launch& bsp, const QString& mapName)
{
    const QDir folder(bsp.workingFolder);
    bspPath_ = folder.filePath(mapName + QStringLiteral(".bsp"));
    portalPath_ = folder.filePath(mapName + QStringLiteral(".prt"));
    const QFileInfo written(bspPath_);
    bspDone_ = result.state == StepState::Done && writtenSince(written, startedAt_);
    bspTime_ = written.lastModified();
    bspSize_ = written.size();
}

VisKey VisReuse::keyNow(const Launch& vis, QString& problem) const
{
    VisKey key;
    key.suite = settings_.suite;
    key.program = vis.underWine && !vis.arguments.isEmpty() ? vis.arguments.first() : vis.program;
    const QFileInfo program(key.program);
    key.programStamp = QString::number(program.size()) + QLatin1Char(' ') +
                       QString::number(program.lastModified().toMSecsSinceEpoch());
    key.arguments = vis.arguments;
    try {
        if (!writtenSince(QFileInfo(portalPath_), startedAt_)) {
            problem = QStringLiteral("no portal file");
            return key;
        }
        const QByteArray portals = textfile::readBytes(portalPath_);
        if (!isPortalFile(portals)) {
            problem = QStringLiteral("not a portal file");
            return key;
        }
        key.portals = digest(portals);
    } catch (const Failure&) {
        problem = QStringLiteral("no portal file");
        return key;
    }
    try {
        const platform::MappedFile file(bspPath_);
        key.format = bsp::readLayout(file.data(), file.size()).qbsp ? QStringLiteral("QBSP")
                                                                    : QStringLiteral("IBSP");
        key.clusters = clustersDigest(bsp::worldLeafClusters(file.data(), file.size()));
    } catch (const Failure&) {
        problem = QStringLiteral("bsp unreadable");
    }
    return key;
}

VisFacts VisReuse::facts(const Launch& vis)
{
    VisFacts facts;
    facts.forced = settings_.forced;
    facts.bspDone = bspDone_;
    const QFileInfo bsp(bspPath_);
    facts.bspUnchanged = bsp.exists() && bsp.size() == bspSize_ && bsp.lastModified() == bspTime_;
    if (!facts.forced.isEmpty() || !facts.bspDone || !facts.bspUnchanged)
        return facts;
    facts.now = keyNow(vis, facts.nowProblem);
    facts.kept =
        readVisEntry(visEntryPath(settings_.cacheFolder, settings_.mapPath), settings_.mapPath);
    return facts;
}

std::optional<StepResult> VisReuse::tryReuse(const Launch& vis)
{
    QElapsedTimer clock;
    clock.start();
    const VisFacts known = facts(vis);
    const VisDecision decision = decideVis(known);
    why_ = decision.why;
    if (!decision.reuse)
        return std::nullopt;
    try {
        bsp::replaceLump(bspPath_, bsp::Visibility, known.kept.entry->lump);
    } catch (const Failure&) {
        why_ = QStringLiteral("bsp not writable");
        return std::nullopt;
    }
    StepResult result;
    result.state = StepState::Reused;
    result.reason = decision.why;
    result.milliseconds = clock.elapsed();
    result.saved = known.kept.entry->milliseconds;
    return result;
}

QString VisReuse::visEnded(const StepResult& result, const Launch& vis)
{
    if (result.state != StepState::Done || !bspDone_)
        return {};
    VisEntry entry;
    entry.mapPath = settings_.mapPath;
    QString problem;
    entry.key = keyNow(vis, problem);
    if (!problem.isEmpty())
        return QStringLiteral("not kept: ") + problem;
    try {
        const platform::MappedFile file(bspPath_);
        const bsp::BspLayout layout = bsp::readLayout(file.data(), file.size());
        entry.lump = QByteArray(file.data() + layout.offset[bsp::Visibility],
                                qsizetype(layout.length[bsp::Visibility]));
        entry.ranAt = QDateTime::currentDateTime();
        entry.milliseconds = result.milliseconds;
        writeVisEntry(visEntryPath(settings_.cacheFolder, settings_.mapPath), entry);
    } catch (const Failure& failure) {
        return QStringLiteral("not kept: ") + failure.text();
    }
    return {};
}

} // namespace run
