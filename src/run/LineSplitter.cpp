#include "run/LineSplitter.h"

#include "platform/CodePage.h"

namespace run {

namespace {

bool isControl(char16_t c)
{
    return (c < 0x20 && c != u'\t') || c == 0x7f;
}

} // namespace

QStringList LineSplitter::add(QByteArrayView chunk)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = chunk.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = chunk[i];
        if (c != '\n' && c != '\r') {
            afterCr_ = false;
            continue;
        }
        // LF right after CR closes no second line.
        const bool secondHalf = c == '\n' && afterCr_ && i == start;
        afterCr_ = c == '\r';
        if (!secondHalf) {
            pending_ += chunk.sliced(start, i - start);
            lines << decode(pending_);
            pending_.clear();
        }
        start = i + 1;
    }
    pending_ += chunk.sliced(start);
    while (pending_.size() >= maxLineBytes) {
        lines << decode(QByteArrayView(pending_).first(maxLineBytes));
        pending_.remove(0, maxLineBytes);
    }
    return lines;
}

QStringList LineSplitter::finish()
{
    QStringList lines;
    if (!pending_.isEmpty())
        lines << decode(pending_);
    pending_.clear();
    return lines;
}

QString LineSplitter::decode(QByteArrayView line) const
{
    bool plain = true;
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || isControl(byte)) {
            plain = false;
            break;
        }
    }
    if (plain)
        return QString::fromLatin1(line);
    QString text = windowsProgram_
                       ? platform::decodeText(line.toByteArray(), platform::CodePage::Ansi)
                       : QString::fromUtf8(line);
    for (QChar& c : text) {
        if (isControl(c.unicode()))
            c = QChar::ReplacementCharacter;
    }
    return text;
}

} // namespace run
