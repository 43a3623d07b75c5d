#include "run/LineSplitter.h"

#include "platform/CodePage.h"

#include <QStringList>
#include <algorithm>
#include <cstring>

namespace run {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Where a piece of at most `most` bytes may end without cutting a UTF-8
// character in two.
qsizetype pieceEnd(const QByteArray& bytes, qsizetype most)
{
    for (qsizetype end = most; end > most - 4; --end) {
        if ((static_cast<unsigned char>(bytes.at(end)) & 0xc0) != 0x80)
            return end;
    }
    return most;
}

} // namespace

// memchr is vectorised in every C library, which QByteArray::count and
// std::count are not: this runs over every byte a compiler writes.
qsizetype countOf(QByteArrayView bytes, char c)
{
    qsizetype count = 0;
    const char* end = bytes.data() + bytes.size();
    for (const char* p = bytes.data(); p < end; ++p, ++count) {
        p = static_cast<const char*>(std::memchr(p, c, size_t(end - p)));
        if (!p)
            break;
    }
    return count;
}

bool holds(QByteArrayView bytes, QByteArrayView text)
{
    if (text.isEmpty())
        return true;
    const char* end = bytes.data() + bytes.size();
    for (const char* p = bytes.data(); end - p >= text.size(); ++p) {
        p = static_cast<const char*>(std::memchr(p, text.front(), size_t(end - p)));
        if (!p || end - p < text.size())
            return false;
        if (std::memcmp(p, text.data(), size_t(text.size())) == 0)
            return true;
    }
    return false;
}

Lines LineSplitter::add(QByteArrayView chunk)
{
    Lines lines{{}, 0, windowsProgram_, {}};
    lines.bytes.reserve(current_.size() + chunk.size() + 1);
    // A CR between chunks needs no memory: the column is all it changes.
    for (qsizetype cr = chunk.indexOf('\r'); cr >= 0; cr = chunk.indexOf('\r')) {
        write(lines, chunk.first(cr));
        column_ = 0;
        chunk = chunk.sliced(cr + 1);
    }
    write(lines, chunk);
    lines.unfinished = current_;
    return lines;
}

Lines LineSplitter::finish()
{
    Lines lines{{}, 0, windowsProgram_, {}};
    if (!current_.isEmpty()) {
        lines.bytes = std::exchange(current_, {}) + '\n';
        lines.count = 1;
    }
    column_ = 0;
    return lines;
}

// Text without a CR, at the column: its first line goes over the current
// one, the lines after it are passed on as they are.
void LineSplitter::write(Lines& lines, QByteArrayView text)
{
    const qsizetype firstEnd = text.indexOf('\n');
    if (firstEnd < 0) {
        overwrite(lines, text);
        return;
    }
    overwrite(lines, text.first(firstEnd));
    lines.bytes += current_;
    lines.bytes += '\n';
    ++lines.count;
    current_.clear();
    column_ = 0;
    text = text.sliced(firstEnd + 1);
    const qsizetype lastEnd = text.lastIndexOf('\n');
    if (lastEnd >= 0) {
        const QByteArrayView whole = text.first(lastEnd + 1);
        lines.bytes += whole;
        lines.count += int(countOf(whole, '\n'));
        text = text.sliced(lastEnd + 1);
    }
    overwrite(lines, text);
}

// Columns are bytes: the lines compilers rewrite are ASCII.
void LineSplitter::overwrite(Lines& lines, QByteArrayView text)
{
    if (text.isEmpty())
        return;
    if (column_ == current_.size())
        current_ += text;
    else
        current_.replace(column_, std::min(text.size(), current_.size() - column_), text);
    column_ += text.size();
    while (current_.size() >= maxLineBytes) {
        const qsizetype end = pieceEnd(current_, maxLineBytes);
        lines.bytes += current_.first(end) + '\n';
        ++lines.count;
        current_.remove(0, end);
        column_ = current_.size();
    }
}

bool isPlainAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

int progressIn(QByteArrayView line)
{
    if (line.size() >= 6 && line.front() == '[' && line.sliced(4).startsWith("%]")) {
        bool ok = false;
        const int percent = line.sliced(1, 3).toByteArray().trimmed().toInt(&ok);
        return ok && percent >= 0 && percent <= 100 ? percent : -1;
    }
    // A digit each time another tenth of the pass is done: "0...2...5...".
    if (!line.startsWith("0...") ||
        !std::all_of(line.begin(), line.end(), [](char c) { return c == '.' || isDigit(c); }))
        return -1;
    const auto last = std::find_if(line.rbegin(), line.rend(), isDigit);
    return (*last - '0') * 10;
}

QString decodeLines(QByteArrayView bytes, bool windowsProgram)
{
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    if (isPlainAscii(bytes) && std::none_of(bytes.begin(), bytes.end(), [](char c) {
            return (c < 0x20 && c != '\t' && c != '\n') || c == 0x7f;
        }))
        return QString::fromLatin1(bytes);
    QString text = windowsProgram
                       ? platform::decodeText(bytes.toByteArray(), platform::CodePage::Ansi)
                       : QString::fromUtf8(bytes);
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\t' && u != u'\n') || u == 0x7f)
            c = QChar::ReplacementCharacter;
    }
    return text;
}

QString lastLines(const QList<Lines>& blocks, int maxLines, qsizetype maxBytes, int& omitted)
{
    QStringList parts;
    int shown = 0;
    qsizetype taken = 0;
    omitted = 0;
    for (auto block = blocks.crbegin(); block != blocks.crend(); ++block) {
        const QByteArray& bytes = block->bytes;
        // Index of the line end before the lines taken from this block.
        qsizetype cut = bytes.size() - 1;
        int lines = 0;
        while (lines < block->count && shown < maxLines &&
               taken + (bytes.size() - 1 - cut) < maxBytes) {
            cut = cut > 0 ? bytes.lastIndexOf('\n', cut - 1) : -1;
            ++lines;
            ++shown;
        }
        omitted += block->count - lines;
        taken += bytes.size() - 1 - cut;
        if (lines > 0)
            parts.prepend(
                decodeLines(QByteArrayView(bytes).sliced(cut + 1), block->windowsProgram));
    }
    return parts.join(QLatin1Char('\n'));
}

} // namespace run
