// The reader behind every file the program reads. Whatever the bytes: the
// lines are those that CR LF, a lone CR and a lone LF make (up to a zero
// byte), in every code page the program may read them in, no line holds a
// line end, and reading a file no further than the lines wanted gives as
// many of them.
#include "FuzzSupport.h"
#include "platform/CodePage.h"
#include "platform/TextFile.h"

#include <QStringList>
#include <algorithm>
#include <initializer_list>
#include <iterator>

namespace {

// Windows' ANSI and OEM code pages, all that a locale can give.
const int codePages[] = {437, 720, 737, 775,  850,  852,  855,  857,  862,  866,  874,  932,
                         936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258};

bool isAscii(const QByteArray& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 128; });
}

// Reads the bytes from a file, no further than the lines wanted.
void checkRead(const QString& path, const QByteArray& bytes, std::initializer_list<int> wanted)
{
    fuzz::writeFile(path, bytes);
    const int lines = fuzz::lineCount(bytes);
    // Decoding may depend on what follows; ASCII does not.
    const QByteArray text =
        bytes.left(bytes.indexOf('\0') < 0 ? bytes.size() : bytes.indexOf('\0'));
    const QStringList all = isAscii(text) ? textfile::splitLines(bytes) : QStringList();
    for (const int most : wanted) {
        const QStringList read = textfile::readLines(path, most);
        fuzz::check(
            read.size() == (most < 0 ? lines : std::min(lines, most)),
            "reading stops after the lines wanted, not before",
            QStringLiteral("%1 of %2 read, %3 wanted").arg(read.size()).arg(lines).arg(most));
        fuzz::check(all.isEmpty() || read == all.mid(0, read.size()),
                    "the lines read are the file's first lines");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const int lines = fuzz::lineCount(bytes);
    const QByteArray text =
        bytes.left(bytes.indexOf('\0') < 0 ? bytes.size() : bytes.indexOf('\0'));

    for (const platform::CodePage page : {platform::CodePage::Ansi, platform::CodePage::Oem}) {
        const QStringList split = textfile::splitLines(bytes, page);
        fuzz::check(split.size() == lines, "one line for each line end",
                    QStringLiteral("%1 lines, %2 expected").arg(split.size()).arg(lines));
        for (const QString& line : split) {
            fuzz::check(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')) &&
                            !line.contains(QChar(0)),
                        "no line holds a line end or a zero", line);
        }
    }

    // A decoder that took a CR or LF into a character would join two lines.
    // One code page per input, picked by its first byte.
    if (!text.isEmpty()) {
        const int page = codePages[uchar(text[0]) % std::size(codePages)];
        const QString decoded = platform::decodeText(text, page);
        fuzz::check(decoded.count(QLatin1Char('\r')) == text.count('\r') &&
                        decoded.count(QLatin1Char('\n')) == text.count('\n'),
                    "decoding keeps every CR and LF", QString::number(page));
    }

    const QString path = fuzz::workFolder() + QStringLiteral("lines.txt");
    checkRead(path, bytes, {1, 10, 36, -1});
    // Behind a line that fills the reader's first 64 KiB chunk but for a
    // few bytes, so that the chunk ends among the input's own line ends or
    // zero: only where there are such within those few bytes.
    const qsizetype inFirstChunk = bytes.isEmpty() ? 0 : uchar(bytes[0]) % 8;
    const QByteArray head = bytes.left(inFirstChunk + 1);
    if (head.contains('\r') || head.contains('\n') || head.contains('\0'))
        checkRead(path, QByteArray(64 * 1024 - inFirstChunk - 1, 'x') + '\n' + bytes, {2, 3});
    return 0;
}
