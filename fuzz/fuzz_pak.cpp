// The pak directory reader, whatever the bytes: a Failure naming the file
// and what is wrong, or a directory that the file holds, each entry inside
// it, each name without its zero. Reads no more than the file has.
#include "FuzzSupport.h"
#include "platform/Failure.h"
#include "report/PakDirectory.h"

#include <QBuffer>
#include <QtEndian>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes = fuzz::bytesOf(data, size);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const QString name = QStringLiteral("fuzz.pak");
    try {
        const report::PakDirectory pak = report::PakDirectory::read(buffer, name);
        fuzz::check(bytes.startsWith("PACK"), "a pak starts with PACK");
        const qint64 length = qFromLittleEndian<qint32>(bytes.constData() + 8);
        fuzz::check(pak.entries().size() * 64 == length && length <= bytes.size(),
                    "one entry for each 64 bytes of a directory the file holds");
        for (const report::PakDirectory::Entry& entry : pak.entries()) {
            fuzz::check(entry.offset >= 0 && entry.length >= 0 &&
                            entry.offset + entry.length <= bytes.size(),
                        "each entry lies inside the file", QString::fromLatin1(entry.name));
            fuzz::check(entry.name.size() < 56 && !entry.name.contains('\0'),
                        "a name ends at its zero, within its 56 bytes");
        }
    } catch (const Failure& failure) {
        fuzz::check(failure.text().startsWith(name + QStringLiteral(": a broken pak file: ")),
                    "a failure names the file and what is wrong", failure.text());
    }
    return 0;
}
