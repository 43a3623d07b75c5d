#include "run/LineSplitter.h"

#include "platform/CodePage.h"

#include <QStringList>
#include <algorithm>
#include <cstring>

namespace run {

namespace {

bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
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
    Lines lines{{}, 0, windowsProgram_};
    if (afterCr_ && chunk.startsWith('\n'))
        chunk = chunk.sliced(1);
    if (chunk.isEmpty())
        return lines;
    const auto lastEnd = std::find_if(chunk.rbegin(), chunk.rend(), isLineEnd);
    if (lastEnd != chunk.rend()) {
        const qsizetype end = chunk.rend() - lastEnd;
        afterCr_ = chunk[end - 1] == '\r';
        pending_.reserve(pending_.size() + end);
        pending_ += chunk.first(end);
        append(lines, std::exchange(pending_, {}));
        chunk = chunk.sliced(end);
    } else {
        afterCr_ = false;
    }
    pending_ += chunk;
    while (pending_.size() >= maxLineBytes) {
        const qsizetype end = pieceEnd(pending_, maxLineBytes);
        append(lines, pending_.first(end) + '\n');
        pending_.remove(0, end);
    }
    return lines;
}

Lines LineSplitter::finish()
{
    Lines lines{{}, 0, windowsProgram_};
    if (!pending_.isEmpty())
        append(lines, std::exchange(pending_, {}) + '\n');
    return lines;
}

// Adds lines that end with a line end.
void LineSplitter::append(Lines& lines, QByteArray bytes) const
{
    if (bytes.contains('\r')) {
        bytes.replace("\r\n", "\n");
        bytes.replace('\r', '\n');
    }
    lines.count += int(countOf(bytes, '\n'));
    lines.bytes += bytes;
}

bool isPlainAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
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
