#pragma once

#include <QString>

// What the command interpreter makes of one line of a batch file, written
// from its documented parsing and apart from the program's escaping, so the
// two can be held against each other. Phase one: "%%" is one "%", and any
// other "%" starts an expansion (%1, %*, %~f1, %NAME%). Phase two: a double
// quote switches quoting on and off; outside quotes a caret takes the next
// character as it is (a caret at the end joins the next line), and & | < >
// are operators.
struct ParsedCommand {
    QString text;    // what the command receives: "%%" halved, escape carets gone
    QString problem; // empty when the line holds no syntax but its own

    bool ok() const { return problem.isEmpty(); }
};

ParsedCommand parseBatchLine(const QString& line);
