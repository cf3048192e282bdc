// SPDX-License-Identifier: GPL-3.0-or-later
#include "ziparchive.h"

#include <cstring>
#include <zlib.h>

namespace ZipArchive {

namespace {

constexpr qint64 kEndBytes = 22;
// The engine looks no further back for the end record (unzip.c, SearchCentralDir).
constexpr qint64 kSearchBack = 0xFFFF;
constexpr qint64 kEntryBytes = 46;
constexpr qint64 kLocalBytes = 30;
// The directory is read this much at a time.
constexpr qint64 kChunk = 1024 * 1024;
constexpr qint64 kInflateChunk = 64 * 1024;

quint16 u16(const char *at)
{
    return qFromLittleEndian<quint16>(at);
}

quint32 u32(const char *at)
{
    return qFromLittleEndian<quint32>(at);
}

// A window on the directory, refilled a chunk at a time into one buffer.
class Reader
{
public:
    explicit Reader(ByteSource &bytes) : m_bytes(bytes) {}

    // `length` bytes at `at`, valid until the next call; null past the end of
    // the file or on a read error (error() says which).
    const char *view(qint64 at, qint64 length)
    {
        if (at >= m_at && at + length <= m_at + m_filled)
            return m_buffer.constData() + (at - m_at);
        if (at < 0 || length > m_bytes.size() - at)
            return nullptr;
        const qint64 want = std::min(std::max(length, kChunk), m_bytes.size() - at);
        if (m_buffer.size() < want)
            m_buffer.resize(want);
        m_error = m_bytes.readInto(at, want, m_buffer.data());
        if (!m_error.ok()) {
            m_filled = 0;
            return nullptr;
        }
        m_at = at;
        m_filled = want;
        return m_buffer.constData();
    }

    const GameDataError &error() const { return m_error; }

private:
    ByteSource &m_bytes;
    QByteArray m_buffer;
    qint64 m_at = 0;
    qint64 m_filled = 0;
    GameDataError m_error;
};

GameDataResult<QByteArray> inflated(ByteSource &zip, qint64 at, const Entry &entry)
{
    z_stream stream = {};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return GameDataError{GameDataError::Unreadable,
                             QStringLiteral("needs more memory than is free")};
    // One byte more than stated shows a member that inflates past its size.
    QByteArray out(entry.size + 1, Qt::Uninitialized);
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    QByteArray in(std::min(kInflateChunk, std::max<qint64>(entry.packedSize, 1)),
                  Qt::Uninitialized);
    qint64 left = entry.packedSize;
    GameDataError failure;
    for (;;) {
        if (stream.avail_in == 0 && left > 0) {
            const qint64 piece = std::min<qint64>(left, in.size());
            failure = zip.readInto(at, piece, in.data());
            if (!failure.ok())
                break;
            at += piece;
            left -= piece;
            stream.next_in = reinterpret_cast<Bytef *>(in.data());
            stream.avail_in = uInt(piece);
        }
        const int result = inflate(&stream, Z_NO_FLUSH);
        if (qint64(stream.total_out) > entry.size) {
            failure = GameDataError::damaged(
                QStringLiteral("inflates past the %1 bytes it states").arg(entry.size));
            break;
        }
        if (result == Z_STREAM_END)
            break;
        if (result == Z_OK)
            continue;
        failure = GameDataError::damaged(
            result == Z_BUF_ERROR
                ? QStringLiteral("its deflated data ends after %1 bytes, before the member does")
                      .arg(entry.packedSize)
                : QStringLiteral("its deflated data is damaged (%1)")
                      .arg(QString::fromLatin1(stream.msg ? stream.msg : "zlib error")));
        break;
    }
    const qint64 total = qint64(stream.total_out);
    inflateEnd(&stream);
    if (!failure.ok())
        return failure;
    if (total != entry.size)
        return GameDataError::damaged(
            QStringLiteral("inflates to %1 bytes, but states %2").arg(total).arg(entry.size));
    out.resize(entry.size);
    return out;
}

} // namespace

GameDataResult<Directory> scanDirectory(ByteSource &zip, const MemberNames &names)
{
    const qint64 size = zip.size();
    const qint64 tailAt = std::max<qint64>(0, size - kSearchBack);
    const auto tail = zip.read(tailAt, size - tailAt);
    if (!tail.ok())
        return tail.error;
    // The engine takes the last end record it meets.
    const qsizetype end = tail.value.size() < kEndBytes
                              ? -1
                              : tail.value.lastIndexOf(QByteArrayView("PK\x05\x06", 4),
                                                       tail.value.size() - kEndBytes);
    if (end < 0) {
        if (tail.value.startsWith("PK\x03\x04") || zip.read(0, 4).value == "PK\x03\x04")
            return GameDataError::damaged(QStringLiteral(
                "starts as a zip archive, but no end record closes it (cut short?)"));
        return GameDataError::unsupported(QStringLiteral("is not a zip archive"));
    }
    const char *record = tail.value.constData() + end;
    const qint64 endAt = tailAt + end;
    const quint16 disk = u16(record + 4);
    const quint16 directoryDisk = u16(record + 6);
    const quint16 entriesHere = u16(record + 8);
    const quint16 entries = u16(record + 10);
    const qint64 directoryBytes = u32(record + 12);
    const qint64 directoryAt = u32(record + 16);
    if (disk != 0 || directoryDisk != 0)
        return GameDataError::unsupported(
            QStringLiteral("is one part of an archive split over several files"));
    if (entriesHere != entries)
        return GameDataError::damaged(QStringLiteral("its end record counts %1 and %2 entries")
                                          .arg(entriesHere)
                                          .arg(entries));
    if (directoryAt + directoryBytes > endAt)
        return GameDataError::damaged(
            QStringLiteral("its directory of %1 bytes at %2 runs past its end record at %3")
                .arg(directoryBytes)
                .arg(directoryAt)
                .arg(endAt));
    // Bytes before the archive (a self-extracting stub) shift every offset.
    const qint64 stub = endAt - (directoryAt + directoryBytes);

    Directory directory;
    directory.found.resize(names.size());
    Reader reader(zip);
    qint64 at = stub + directoryAt;
    for (; directory.entries < entries; ++directory.entries) {
        // Made only when the walk stops: a directory may hold 65,535 entries.
        const auto which = [&] {
            return QStringLiteral("entry %1 of %2 in its directory (at %3)")
                .arg(directory.entries + 1)
                .arg(entries)
                .arg(at);
        };
        const char *fixed = reader.view(at, kEntryBytes);
        if (fixed && std::memcmp(fixed, "PK\x01\x02", 4) != 0) {
            directory.damage = GameDataError::damaged(which() + QStringLiteral(" is not an entry"));
            break;
        }
        Entry entry;
        qint64 nameBytes = 0;
        qint64 skipped = 0;
        if (fixed) {
            entry.flags = u16(fixed + 8);
            entry.method = u16(fixed + 10);
            entry.crc = u32(fixed + 16);
            entry.packedSize = u32(fixed + 20);
            entry.size = u32(fixed + 24);
            nameBytes = u16(fixed + 28);
            skipped = qint64(u16(fixed + 30)) + u16(fixed + 32);
            entry.localHeader = stub + u32(fixed + 42);
        }
        const char *name = fixed ? reader.view(at + kEntryBytes, nameBytes) : nullptr;
        if (!name) {
            if (!reader.error().ok())
                return reader.error();
            directory.damage =
                GameDataError::damaged(which() + QStringLiteral(" runs past the end of the file"));
            break;
        }
        if (const int match = names.match(name, nameBytes); match >= 0) {
            entry.name = QByteArray(name, std::find(name, name + nameBytes, '\0') - name);
            entry.nameBytes = quint16(nameBytes);
            directory.found[match] = entry;
        }
        at += kEntryBytes + nameBytes + skipped;
    }
    return directory;
}

GameDataResult<QByteArray> read(ByteSource &zip, const Entry &entry, qint64 cap)
{
    if (entry.flags & 1)
        return GameDataError::unsupported(
            QStringLiteral("is encrypted, which Quake III does not read"));
    if (entry.method != 0 && entry.method != Z_DEFLATED)
        return GameDataError::unsupported(
            QStringLiteral("is packed by method %1; Quake III reads stored and deflated members")
                .arg(entry.method));
    if (entry.size > cap)
        return GameDataError::unsupported(
            QStringLiteral("is too large: %1 bytes, more than the %2 a font may take")
                .arg(entry.size)
                .arg(cap));
    const auto local = zip.read(entry.localHeader, kLocalBytes);
    if (!local.ok() || !local.value.startsWith("PK\x03\x04"))
        return GameDataError::damaged(
            QStringLiteral("has no local header at %1").arg(entry.localHeader));
    const char *header = local.value.constData();
    // What the engine checks before it reads (unzip.c, CheckCurrentFileCoherencyHeader).
    const bool sizesAfter = entry.flags & 8;
    if (u16(header + 8) != entry.method || u16(header + 26) != entry.nameBytes ||
        (!sizesAfter && (u32(header + 14) != entry.crc || u32(header + 18) != entry.packedSize ||
                         u32(header + 22) != entry.size)))
        return GameDataError::damaged(
            QStringLiteral("its local header at %1 contradicts its directory entry")
                .arg(entry.localHeader));
    const qint64 dataAt =
        entry.localHeader + kLocalBytes + u16(header + 26) + qint64(u16(header + 28));
    if (dataAt + entry.packedSize > zip.size())
        return GameDataError::damaged(
            QStringLiteral("its %1 bytes at %2 run past the end of the archive (%3 bytes)")
                .arg(entry.packedSize)
                .arg(dataAt)
                .arg(zip.size()));
    GameDataResult<QByteArray> bytes;
    if (entry.method == 0) {
        if (entry.packedSize != entry.size)
            return GameDataError::damaged(QStringLiteral("is stored in %1 bytes, but states %2")
                                              .arg(entry.packedSize)
                                              .arg(entry.size));
        bytes = zip.read(dataAt, entry.size);
    } else {
        bytes = inflated(zip, dataAt, entry);
    }
    if (!bytes.ok())
        return bytes;
    const quint32 crc = quint32(crc32(0, reinterpret_cast<const Bytef *>(bytes.value.constData()),
                                      uInt(bytes.value.size())));
    if (crc != entry.crc)
        return GameDataError::damaged(
            QStringLiteral("fails its checksum (%1, the directory states %2)")
                .arg(crc, 8, 16, QLatin1Char('0'))
                .arg(entry.crc, 8, 16, QLatin1Char('0')));
    return bytes;
}

} // namespace ZipArchive
