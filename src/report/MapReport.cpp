#include "report/MapReport.h"

#include <algorithm>

namespace report {

int exitCode(const MapReport& report)
{
    const bool over =
        std::any_of(report.limits.begin(), report.limits.end(),
                    [](const LimitRow& row) { return row.state == LimitState::Over; });
    const bool unsupported = report.formatSupported.has_value() && !*report.formatSupported;
    const bool missing = report.missingTextures.has_value() && !report.missingTextures->isEmpty();
    return over || unsupported || missing || report.leak.has_value() ? 1 : 0;
}

} // namespace report
