// SPDX-License-Identifier: GPL-3.0-or-later
#include "wadfile.h"

namespace WadFile {

namespace {

constexpr int kHeaderBytes = 12;
constexpr int kEntryBytes = 32;
constexpr int kNameAt = 16;
constexpr int kNameBytes = 16;

// Quake lower-cases the names and compares them up to the first NUL, at most 16 bytes.
QByteArray cleanName(const char *name)
{
    return QByteArray(name, std::find(name, name + kNameBytes, '\0') - name).toLower();
}

} // namespace

GameDataResult<QByteArray> readLump(ByteSource &wad, const QByteArray &name, qint64 bytes)
{
    if (wad.size() < kHeaderBytes)
        return GameDataError::damaged(
            QStringLiteral("is %1 bytes, too short for a wad header").arg(wad.size()));
    const auto header = wad.read(0, kHeaderBytes);
    if (!header.ok())
        return header.error;
    if (!header.value.startsWith("WAD2"))
        return GameDataError{GameDataError::Unsupported,
                             QStringLiteral("is not a WAD2 file (no \"WAD2\" at its start)")};
    const qint32 count = int32At(header.value, 4);
    const qint32 offset = int32At(header.value, 8);
    if (count < 0 || offset < 0)
        return GameDataError::damaged(
            QStringLiteral("states a negative lump count or directory offset (%1, %2)")
                .arg(count)
                .arg(offset));
    if (count > kMaxLumps)
        return GameDataError::damaged(QStringLiteral("claims %1 lumps").arg(count));
    if (offset + qint64(count) * kEntryBytes > wad.size())
        return GameDataError::damaged(
            QStringLiteral("its directory of %1 lumps at %2 runs past the end of the "
                           "file (%3 bytes)")
                .arg(count)
                .arg(offset)
                .arg(wad.size()));
    const auto directory = wad.read(offset, qint64(count) * kEntryBytes);
    if (!directory.ok())
        return directory.error;

    const QByteArray wanted = name.left(kNameBytes).toLower();
    for (qint32 i = 0; i < count; ++i) {
        const qsizetype entry = qsizetype(i) * kEntryBytes;
        if (cleanName(directory.value.constData() + entry + kNameAt) != wanted)
            continue;
        const qint32 position = int32At(directory.value, entry);
        if (position < 0 || position + bytes > wad.size())
            return GameDataError::damaged(
                QStringLiteral("lump %1 at %2 runs past the end of the file (%3 bytes)")
                    .arg(QString::fromLatin1(wanted))
                    .arg(position)
                    .arg(wad.size()));
        return wad.read(position, bytes);
    }
    return GameDataError{GameDataError::NotFound,
                         QStringLiteral("has no lump called %1").arg(QString::fromLatin1(wanted))};
}

} // namespace WadFile
