#include "settings/SettingsFile.h"

#include "settings/SettingsText.h"

namespace settings {

QStringList settingsLines(const ProgramSettings& s)
{
    return {
        s.loadDefaults ? QStringLiteral("0") : QStringLiteral("1"),
        flagLine(s.threads),
        flagLine(s.runGame),
        flagLine(s.closeOnCompile),
        flagLine(s.showBatchFile),
        s.threadCount,
        s.gameDirectory,
        flagLine(s.pauseAfter),
        flagLine(s.pauseBetween),
        flagLine(s.autoCompile),
    };
}

bool loadsDefaults(const QString& startChoiceLine)
{
    return startChoiceLine == QLatin1String("0");
}

} // namespace settings
