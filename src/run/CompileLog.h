#pragma once

#include <QSaveFile>
#include <QString>

namespace run {

// The whole output of a compile, as the programs wrote it, with a heading
// line before each step. Written as it comes to a temporary file beside the
// log, which replaces the log when the compile ends (the one rule for every
// file the program writes). A folder that cannot be written costs the log,
// never the compile: problem() then says why.
class CompileLog {
public:
    explicit CompileLog(const QString& path);

    void heading(const QString& text);
    void write(const QByteArray& bytes);
    // False, with problem() set, when the log could not be written.
    bool finish();

    QString problem() const { return problem_; }
    QString path() const { return file_.fileName(); }

private:
    void fail();

    QSaveFile file_;
    QString problem_;
};

} // namespace run
