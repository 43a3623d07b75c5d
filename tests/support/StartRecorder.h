#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Sees the compile batch file being started and run.
//
// Off Windows the program starts it through Wine: a stand-in "wine" first
// on PATH logs each start, its arguments and its current folder. On Windows the
// batch file really runs in the command interpreter: stand-in compilers in
// the maps folder log each call, {"qbsp3", <arguments>...}.
class StartRecorder {
public:
    explicit StartRecorder(const QString& mapsFolder);
    ~StartRecorder();
    StartRecorder(const StartRecorder&) = delete;
    StartRecorder& operator=(const StartRecorder&) = delete;

    // The calls logged so far, once at least `expected` are there or the
    // time is up (asking for none waits the whole time).
    QList<QStringList> calls(int expected = 1, int timeoutMs = 10000) const;
    // The batch file runs seen: one wine start, or one qbsp3 call.
    int runs(int expected = 1) const;
    // What the stand-in wine logs when the program starts this batch file.
    static QStringList wineStart(const QString& batchFile);
    // Takes wine off PATH, so that starting fails. Off Windows only.
    void makeStartFail();

private:
    QString logPath() const;

    QString mapsFolder_;
    QTemporaryDir wineFolder_;
    QByteArray oldPath_;
};
