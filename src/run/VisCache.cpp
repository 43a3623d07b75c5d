#include "run/VisCache.h"

#include "platform/Failure.h"
#include "platform/TextFile.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>

namespace run {

namespace {

constexpr quint32 magic = 0x42575643; // "BWVC"
constexpr quint32 currentFormat = 1;
constexpr auto digestKind = QCryptographicHash::Sha1;
const int digestBytes = QCryptographicHash::hashLength(digestKind);

QString programVersion()
{
    return QStringLiteral(BRUSHWRIGHT_VERSION);
}

void setUp(QDataStream& stream)
{
    stream.setVersion(QDataStream::Qt_6_0);
    stream.setByteOrder(QDataStream::LittleEndian);
}

} // namespace

QString visEntryPath(const QString& cacheFolder, const QString& mapPath)
{
    // One file per map path, named so that any path makes a file name.
    const QByteArray name =
        QCryptographicHash::hash(QDir::cleanPath(mapPath).toUtf8(), QCryptographicHash::Sha1)
            .toHex();
    return QDir(cacheFolder)
        .filePath(QStringLiteral("vis/") + QString::fromLatin1(name) + QStringLiteral(".vis"));
}

QByteArray visEntryBytes(const VisEntry& entry, quint32 format)
{
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        setUp(out);
        out << magic << format << programVersion();
        const VisKey& key = entry.key;
        out << entry.mapPath << key.suite << key.program << key.programStamp << key.arguments
            << key.format << key.portals << key.clusters << entry.ranAt.toMSecsSinceEpoch()
            << entry.milliseconds << entry.lump;
    }
    return bytes + QCryptographicHash::hash(bytes, digestKind);
}

void writeVisEntry(const QString& path, const VisEntry& entry)
{
    if (!QDir().mkpath(QFileInfo(path).path()))
        throw Failure::cannotCreate(path);
    // A cache: lost, it costs one vis.
    textfile::writeFile(path, {visEntryBytes(entry, currentFormat)},
                        textfile::Durability::Unsynced);
}

VisEntryRead readVisEntry(const QString& path, const QString& mapPath)
{
    if (!QFileInfo::exists(path))
        return {std::nullopt, QStringLiteral("no earlier vis")};
    QByteArray bytes;
    try {
        bytes = textfile::readBytes(path);
    } catch (const Failure&) {
        return {std::nullopt, QStringLiteral("cache unreadable")};
    }
    const VisEntryRead damaged{std::nullopt, QStringLiteral("cache damaged")};
    QDataStream in(bytes);
    setUp(in);
    quint32 readMagic = 0, format = 0;
    QString version;
    in >> readMagic >> format >> version;
    if (in.status() != QDataStream::Ok || readMagic != magic)
        return damaged;
    if (format != currentFormat || version != programVersion())
        return {std::nullopt, QStringLiteral("other version")};
    const qsizetype body = bytes.size() - digestBytes;
    if (body <= 0 || QCryptographicHash::hash(QByteArrayView(bytes).first(body), digestKind) !=
                         QByteArrayView(bytes).sliced(body))
        return damaged;
    VisEntry entry;
    VisKey& key = entry.key;
    qint64 ranAt = 0;
    in >> entry.mapPath >> key.suite >> key.program >> key.programStamp >> key.arguments >>
        key.format >> key.portals >> key.clusters >> ranAt >> entry.milliseconds >> entry.lump;
    if (in.status() != QDataStream::Ok || in.device()->pos() != body)
        return damaged;
    // Two paths that share a file name: the other map's entry is none. The
    // window and the command line write the same path each their own way.
    if (QDir::cleanPath(entry.mapPath) != QDir::cleanPath(mapPath))
        return {std::nullopt, QStringLiteral("no earlier vis")};
    entry.ranAt = QDateTime::fromMSecsSinceEpoch(ranAt);
    return {entry, {}};
}

} // namespace run
