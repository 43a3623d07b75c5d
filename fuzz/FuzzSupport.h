#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

// What the fuzz targets share: the check that stops a run, a plain count of
// a text file's lines, and a place for the files that the window reads.
namespace fuzz {

// Stops the run when an invariant does not hold, so that libFuzzer keeps the
// input that broke it.
void check(bool holds, const char* invariant, const QString& detail = {});

QByteArray bytesOf(const std::uint8_t* data, std::size_t size);

// Lines as the program's text files have them: CR LF, a lone CR and a lone
// LF each end one, a last line without an end still counts, and a zero byte
// ends the text. Counted on the bytes, before any decoding.
int lineCount(const QByteArray& bytes);

// The bytes of each line, without line ends, counted as above.
QList<QByteArray> rawLines(const QByteArray& bytes);

// The window's targets need a QApplication: one, on the offscreen platform.
void startOffscreenApplication();

// A folder of this run for the files the window reads, ending in "/".
QString workFolder();

void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

} // namespace fuzz
