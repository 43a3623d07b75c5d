#pragma once

#include "batch/BatchOptions.h"
#include "settings/CompilerSettings.h"

#include <QList>
#include <QString>
#include <optional>

// The texts a user typed that the batch file holds. The command interpreter
// reads the file in the console (OEM) code page: a character that page
// lacks cannot be written, and a "?" in its place would be a wildcard.
namespace batch {

struct UserText {
    QString what; // "The game folder", as an error box names it
    QString text;
};

struct UnwritableText {
    QString what;
    QString text;
    QString character; // the first one the code page lacks

    bool operator==(const UnwritableText&) const = default;
};

// The game folder, the map name, the three fields, the compilers folder,
// the game program and the mod folder, in that order.
QList<UserText> userTexts(const BatchOptions& options,
                          const settings::CompilerSettings& compilers = {});

// The first text holding a character the code page cannot write, and that
// character; nothing when the code page writes them all.
std::optional<UnwritableText> firstUnwritable(const QList<UserText>& texts, int codePage);

// Throws Failure 'The game folder "…" holds "Š", which this system's
// console code page (850) cannot write' for the first such text.
void checkWritable(const QList<UserText>& texts, int codePage);

} // namespace batch
