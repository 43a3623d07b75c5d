#pragma once

#include <QString>
#include <QStringList>

// A mod is one folder inside the game folder, beside baseq2: the game takes
// it with "+set game <mod>", and its maps are in <mod>/maps.
namespace settings {

// Why the text cannot name a mod ("it holds \"/\""); empty when it can.
// An empty text is baseq2's, which is fine.
QString modProblem(const QString& mod);

// The folders in the game folder (a local path) that hold a maps folder,
// baseq2 left out, sorted: the mods a mapper may compile into.
QStringList modFolders(const QString& gameFolder);

} // namespace settings
