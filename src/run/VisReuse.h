#pragma once

#include "run/Launch.h"
#include "run/VisCache.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace run {

struct StepResult;

// Which compile may reuse a kept vis, and where entries are kept.
struct VisReuseSettings {
    QString cacheFolder; // the user's cache folder
    QString mapPath;     // the .map the steps compile
    QString suite;       // "id", "q2tools", "ericw"
    // Why vis runs whatever is kept ("always run vis", "shift held");
    // empty: a kept vis may be used.
    QString forced;
};

// What the decision weighs: the compile so far, what its bsp step wrote
// (now), and the entry kept from an earlier vis.
struct VisFacts {
    QString forced;
    bool bspDone = false;      // the bsp step succeeded
    bool bspUnchanged = false; // the .bsp is still as the bsp step left it
    VisKey now;
    QString nowProblem; // why now cannot be known: "no portal file", ...
    VisEntryRead kept;
};

struct VisDecision {
    bool reuse = false;
    QString why; // "portals changed", ...; on reuse, since when
};

// Any doubt means vis runs; the first doubt is the one named.
VisDecision decideVis(const VisFacts& facts);

// "14:02", or "9 Dec 14:02" for another day than today.
QString sinceText(const QDateTime& time, const QDateTime& now = QDateTime::currentDateTime());

// A compile's use of kept vis, step by step, on the runner's thread: after
// the bsp step it notes what that step wrote, before vis it decides and, to
// reuse, writes the kept lump into the new .bsp; after vis it keeps what
// vis wrote.
class VisReuse {
public:
    explicit VisReuse(VisReuseSettings settings);

    void bspEnded(const StepResult& result, const Launch& bsp, const QString& mapName);
    // The vis step's result when the kept lump was written in, else none,
    // and why() says why vis runs.
    std::optional<StepResult> tryReuse(const Launch& vis);
    QString why() const { return why_; }
    // Keeps what a vis step that succeeded wrote; why it could not, if not.
    QString visEnded(const StepResult& result, const Launch& vis);

private:
    VisFacts facts(const Launch& vis);
    VisKey keyNow(const Launch& vis, QString& problem) const;

    VisReuseSettings settings_;
    QDateTime startedAt_;
    bool bspDone_ = false;
    QString bspPath_;
    QString portalPath_;
    QDateTime bspTime_;
    qint64 bspSize_ = -1;
    QString why_;
};

} // namespace run
