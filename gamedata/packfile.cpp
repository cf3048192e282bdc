// SPDX-License-Identifier: GPL-3.0-or-later
#include "packfile.h"

namespace PackFile {

namespace {

constexpr int kHeaderBytes = 12;
constexpr int kEntryBytes = 64;
constexpr int kNameBytes = 56;

} // namespace

GameDataResult<Found> scanDirectory(ByteSource &pak, const MemberNames &names)
{
    if (pak.size() < kHeaderBytes)
        return GameDataError::damaged(
            QStringLiteral("is %1 bytes, too short for a pak header").arg(pak.size()));
    const auto header = pak.read(0, kHeaderBytes);
    if (!header.ok())
        return header.error;
    if (!header.value.startsWith("PACK"))
        return GameDataError{GameDataError::Unsupported,
                             QStringLiteral("is not a pak file (no \"PACK\" at its start)")};
    const qint32 offset = int32At(header.value, 4);
    const qint32 length = int32At(header.value, 8);
    // The engines take the whole entries that fit in the stated length.
    const qint64 count = length < 0 ? -1 : length / kEntryBytes;
    if (offset < 0 || count < 0)
        return GameDataError::damaged(
            QStringLiteral("states a negative directory offset or length (%1, %2)")
                .arg(offset)
                .arg(length));
    if (count > kMaxEntries)
        return GameDataError::damaged(QStringLiteral("claims %1 files; the games read at most %2")
                                          .arg(count)
                                          .arg(kMaxEntries));
    if (offset + count * kEntryBytes > pak.size())
        return GameDataError::damaged(
            QStringLiteral("its directory of %1 files at %2 runs past the end of the "
                           "file (%3 bytes)")
                .arg(count)
                .arg(offset)
                .arg(pak.size()));
    const auto directory = pak.read(offset, count * kEntryBytes);
    if (!directory.ok())
        return directory.error;

    Found found(names.size());
    for (qint64 i = 0; i < count; ++i) {
        const char *record = directory.value.constData() + i * kEntryBytes;
        const int match = names.match(record, kNameBytes);
        if (match < 0 || found[match])
            continue;
        Entry entry;
        entry.name = QByteArray(record, std::find(record, record + kNameBytes, '\0') - record);
        entry.offset = int32At(directory.value, i * kEntryBytes + kNameBytes);
        entry.size = int32At(directory.value, i * kEntryBytes + kNameBytes + 4);
        found[match] = entry;
    }
    return found;
}

} // namespace PackFile
