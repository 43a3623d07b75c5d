#include "CommandModel.h"

namespace {

QString at(const char* what, qsizetype index)
{
    return QStringLiteral("%1 at %2").arg(QLatin1String(what)).arg(index);
}

} // namespace

ParsedCommand parseBatchLine(const QString& line)
{
    ParsedCommand parsed;
    for (const QChar c : line) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            parsed.problem = QStringLiteral("a line end inside the line");
            return parsed;
        }
    }

    QString expanded;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i) != QLatin1Char('%')) {
            expanded += line.at(i);
        } else if (i + 1 < line.size() && line.at(i + 1) == QLatin1Char('%')) {
            expanded += QLatin1Char('%');
            ++i;
        } else {
            parsed.problem = at("an expansion", i);
            return parsed;
        }
    }

    bool quoted = false;
    for (qsizetype i = 0; i < expanded.size(); ++i) {
        const QChar c = expanded.at(i);
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (!quoted && c == QLatin1Char('^')) {
            if (++i == expanded.size()) {
                parsed.problem = at("a caret that joins the next line", i - 1);
                return parsed;
            }
            parsed.text += expanded.at(i);
            continue;
        } else if (!quoted && QStringView(u"&|<>").contains(c)) {
            parsed.problem = at("an operator", i);
            return parsed;
        }
        parsed.text += c;
    }
    return parsed;
}
