#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

// What a vis step wrote, kept per map in the user's cache folder, and what
// it depends on: the portal file the bsp step wrote, the program and its
// switches, and the world's leafs and their clusters.
namespace run {

struct VisKey {
    QString suite;        // "id", "q2tools", "ericw"
    QString program;      // the vis program's file
    QString programStamp; // its size and time: a program replaced in place
    QStringList arguments;
    QString format;      // "IBSP" or "QBSP"
    QByteArray portals;  // digest of the portal file
    QByteArray clusters; // digest of the world's leafs and their clusters

    bool operator==(const VisKey&) const = default;
};

struct VisEntry {
    QString mapPath;
    VisKey key;
    QDateTime ranAt;       // when the kept vis ended
    qint64 milliseconds{}; // how long it took
    QByteArray lump;       // the visibility lump it wrote

    bool operator==(const VisEntry&) const = default;
};

// The file that keeps a map's entry in the cache folder.
QString visEntryPath(const QString& cacheFolder, const QString& mapPath);

// Written through the one writer; throws Failure.
void writeVisEntry(const QString& path, const VisEntry& entry);

// An entry as read, or in a few words why there is none to use:
// "no earlier vis", "cache damaged", "other version".
struct VisEntryRead {
    std::optional<VisEntry> entry;
    QString problem;
};
VisEntryRead readVisEntry(const QString& path, const QString& mapPath);

// The entry's bytes: a header of a format and the program's version, the
// fields, and a digest of all that before them.
QByteArray visEntryBytes(const VisEntry& entry, quint32 format = 1);

} // namespace run
