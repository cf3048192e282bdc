#include "textfile.h"

#include "atomicfile.h"
#include "regularfile.h"

#include <algorithm>
#include <cstring>

namespace {

using Kind = FileError::Kind;

constexpr qsizetype kChunk = 64 * 1024;

FileError tooLarge(const QString &path, qint64 maxSize)
{
    return {Kind::TooLarge, path,
            QStringLiteral("It is larger than %1 bytes, more than such a file ever needs.")
                .arg(maxSize)};
}

} // namespace

namespace TextFile {

Contents read(const QString &path, qint64 maxSize)
{
    Contents contents;
    RegularFile file;
    contents.error = file.open(path);
    if (!file.isOpen())
        return contents;
    contents.exists = true;
    if (file.size() > maxSize) {
        contents.error = tooLarge(path, maxSize);
        return contents;
    }
    // The size is only a hint: the file may grow meanwhile, and some report none.
    QByteArray data(qsizetype(file.size()) + 1, Qt::Uninitialized);
    qsizetype total = 0;
    for (;;) {
        qint64 got = 0;
        contents.error = file.read(data.data() + total, data.size() - total, got);
        if (!contents.error.ok())
            break;
        total += got;
        if (total > maxSize) {
            contents.error = tooLarge(path, maxSize);
            break;
        }
        if (total < data.size())
            break;
        data.resize(std::min<qint64>(data.size() + kChunk, maxSize + 1));
    }
    if (contents.error.ok()) {
        data.resize(total);
        contents.data = std::move(data);
    }
    return contents;
}

Contents readTail(const QString &path, qint64 maxSize)
{
    Contents contents;
    RegularFile file;
    contents.error = file.open(path);
    if (!file.isOpen())
        return contents;
    contents.exists = true;
    const qint64 start = std::max<qint64>(0, file.size() - maxSize);
    QByteArray data(qsizetype(file.size() - start), Qt::Uninitialized);
    qint64 got = 0;
    contents.error = file.readAt(start, data.data(), data.size(), got);
    if (contents.error.ok()) {
        data.resize(got);
        if (start > 0)
            data.remove(0, data.indexOf('\n') + 1);
        contents.data = std::move(data);
    }
    return contents;
}

FileError Source::open(const QString &path, qint64 maxSize)
{
    m_maxSize = maxSize;
    m_total = 0;
    const FileError error = m_file.open(path);
    if (m_file.isOpen() && m_file.size() > maxSize) {
        m_file.close();
        return tooLarge(path, maxSize);
    }
    return error;
}

FileError Source::read(QByteArray &chunk)
{
    if (!m_file.isOpen()) {
        chunk.clear();
        return {};
    }
    qint64 got = 0;
    if (FileError failed = m_file.read(chunk.data(), chunk.size(), got); !failed.ok())
        return failed;
    chunk.resize(got);
    m_total += got;
    if (m_total > m_maxSize)
        return tooLarge(m_file.path(), m_maxSize);
    return {};
}

FileError update(const QString &path, const UpdateRules &rules, const Edit &edit,
                 std::unique_ptr<AtomicFile> *kept)
{
    auto file = std::make_unique<AtomicFile>(path);
    if (FileError begun = file->begin(rules.lockTimeoutMs); !begun.ok())
        return begun;
    // Read afresh under the lock, so a change another program made meanwhile is kept.
    const Contents current = read(file->target(), rules.maxSize);
    if (!current.error.ok())
        return {current.error.kind(), path, current.error.detail()};

    std::optional<Splice> change;
    if (FileError refused = edit(current.data, change); !refused.ok() || !change)
        return refused;

    const QByteArrayView data(current.data);
    const qsizetype resume = change->at + change->removed;
    Q_ASSERT(change->at >= 0 && resume <= data.size());
    for (const QByteArrayView piece :
         {data.first(change->at), QByteArrayView(change->inserted), data.sliced(resume)}) {
        if (FileError written = file->write(piece); !written.ok())
            return written;
    }
    if (FileError committed = file->commit(kept != nullptr); !committed.ok())
        return committed;
    if (kept)
        *kept = std::move(file);
    return {};
}

bool Lines::next(Line &line)
{
    if (m_at >= m_data.size())
        return false;
    line.start = m_at;
    const void *nl = std::memchr(m_data.data() + m_at, '\n', size_t(m_data.size() - m_at));
    if (!nl) {
        line.end = line.next = m_data.size();
    } else {
        const qsizetype at = static_cast<const char *>(nl) - m_data.data();
        line.next = at + 1;
        line.end = (at > m_at && m_data.at(at - 1) == '\r') ? at - 1 : at;
    }
    m_at = line.next;
    return true;
}

} // namespace TextFile
