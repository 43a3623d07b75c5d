#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Writes bytes to a file, creating its folder.
void writeBytes(const QString& path, const QByteArray& bytes);
QByteArray readBytes(const QString& path);
// An option-set file's lines: the header, the 25 option flags off, then
// lines 26 to 35 as given (texts, slider positions, compiler switches).
QStringList optionSetLines(const QStringList& fromLine26,
                           const QString& header = QStringLiteral("Modify at your own risk!"));
// A named pipe, which no writer opens; false where there are none.
bool makePipe(const QString& path);
// Lines joined with CR LF after each.
QByteArray crlf(const QStringList& lines);
// Sets a file's last-write time, as a save at that time would.
void stampFile(const QString& path, const QDateTime& time);

// While it lives, writing the given file fails however it is tried, even as
// root: a read-only file on Windows, a file-size limit of a few bytes
// elsewhere (reading still works).
class WriteFailure {
public:
    explicit WriteFailure(const QString& path);
    ~WriteFailure();
    WriteFailure(const WriteFailure&) = delete;
    WriteFailure& operator=(const WriteFailure&) = delete;

private:
    QString path_;
};
