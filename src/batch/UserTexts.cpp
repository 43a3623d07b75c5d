#include "batch/UserTexts.h"

#include "platform/CodePage.h"
#include "platform/Failure.h"

namespace batch {

QList<UserText> userTexts(const BatchOptions& options, const settings::CompilerSettings& compilers)
{
    return {
        {QStringLiteral("The game folder"), options.gameDirectory},
        {QStringLiteral("The map name"), options.mapName},
        {QStringLiteral("The field \"subdivide faces larger than\""), options.edit1},
        {QStringLiteral("The field \"light bounce count\""), options.edit2},
        {QStringLiteral("The field \"threads to use\""), options.edit3},
        {QStringLiteral("The compilers folder"), compilers.folder},
        {QStringLiteral("The game program"), compilers.gameProgram},
        {QStringLiteral("The mod folder"), compilers.mod},
    };
}

std::optional<UnwritableText> firstUnwritable(const QList<UserText>& texts, int codePage)
{
    for (const UserText& entry : texts) {
        const QString character = platform::firstUnwritable(entry.text, codePage);
        if (!character.isEmpty())
            return UnwritableText{entry.what, entry.text, character};
    }
    return std::nullopt;
}

void checkWritable(const QList<UserText>& texts, int codePage)
{
    if (const std::optional<UnwritableText> found = firstUnwritable(texts, codePage))
        throw Failure::unwritable(QStringLiteral("%1 \"%2\"").arg(found->what, found->text),
                                  found->character, codePage);
}

} // namespace batch
