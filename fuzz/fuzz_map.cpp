// The .map reader on any text: it reads or throws a Failure whose line is
// one of the text's lines ("line N: ..."), never a crash.
#include "FuzzSupport.h"
#include "map/MapReader.h"
#include "platform/Failure.h"

#include <QRegularExpression>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray text = fuzz::bytesOf(data, size);
    try {
        const map::MapFile file = map::parseMap(text);
        for (const map::MapEntity& entity : file.entities)
            fuzz::check(entity.line >= 1 && entity.line <= text.count('\n') + 1,
                        "an entity's line is in the text");
    } catch (const Failure& failure) {
        static const QRegularExpression line(QStringLiteral("^line (\\d+): "));
        const QRegularExpressionMatch match = line.match(failure.text());
        fuzz::check(match.hasMatch(), "the message starts with its line", failure.text());
        const qint64 number = match.captured(1).toLongLong();
        fuzz::check(number >= 1 && number <= text.count('\n') + 1,
                    "the message's line is one of the text's", failure.text());
    }
    return 0;
}
