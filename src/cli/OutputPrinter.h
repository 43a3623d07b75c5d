#pragma once

#include "run/LineSplitter.h"

#include <QString>
#include <functional>

namespace cli {

// A compile's output as the command line prints it. On a terminal a line
// being written shows as it stands and is rewritten in place, as in the
// compile window; into a pipe or a file only whole lines go, each in its
// last state, as the log keeps them.
class OutputPrinter {
public:
    using Writer = std::function<void(const QString&)>;
    OutputPrinter(Writer write, bool terminal) : write_(std::move(write)), terminal_(terminal) {}

    // Whole lines of the program's own.
    void text(const QString& text);
    // A compiler's output as the runner read it.
    void output(const run::Lines& lines);

private:
    void closeLine();

    Writer write_;
    bool terminal_;
    qsizetype shown_ = -1; // length of the unfinished line shown; -1: none
};

} // namespace cli
