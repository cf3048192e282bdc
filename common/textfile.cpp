#include "textfile.h"

#include "atomicfile.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Kind = FileError::Kind;

constexpr qsizetype kChunk = 64 * 1024;

FileError tooLarge(const QString &path, qint64 maxSize)
{
    return {Kind::TooLarge, path,
            QStringLiteral("It is larger than %1 bytes, more than such a file ever needs.")
                .arg(maxSize)};
}

// Opens `path` for reading if it is a regular file. A pipe would block the open
// and a device never end, so the open does not wait and the type is checked on
// what was opened. -1 with no error: the file does not exist.
int openRegular(const QString &path, FileError &error, qint64 *size)
{
    const QByteArray native = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (errno != ENOENT)
            error = FileError::fromErrno(Kind::ReadError, path, errno);
        return -1;
    }
    struct stat st = {};
    if (::fstat(fd, &st) != 0) {
        error = FileError::fromErrno(Kind::ReadError, path, errno);
    } else if (S_ISDIR(st.st_mode)) {
        error = {Kind::NotAFile, path, QStringLiteral("It is a folder, not a file.")};
    } else if (!S_ISREG(st.st_mode)) {
        error = {Kind::NotAFile, path, QStringLiteral("It is not a regular file.")};
    }
    if (!error.ok()) {
        ::close(fd);
        return -1;
    }
    *size = st.st_size;
    return fd;
}

// Reads up to `count` bytes; fewer only at the end of the file.
qsizetype readFully(int fd, char *to, qsizetype count)
{
    qsizetype done = 0;
    while (done < count) {
        const ssize_t got = ::read(fd, to + done, size_t(count - done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

} // namespace

namespace TextFile {

Contents read(const QString &path, qint64 maxSize)
{
    Contents contents;
    qint64 size = 0;
    const int fd = openRegular(path, contents.error, &size);
    if (fd < 0)
        return contents;
    contents.exists = true;
    if (size > maxSize) {
        ::close(fd);
        contents.error = tooLarge(path, maxSize);
        return contents;
    }
    // The size is only a hint: the file may grow meanwhile, and some report none.
    QByteArray data(qsizetype(size) + 1, Qt::Uninitialized);
    qsizetype total = 0;
    for (;;) {
        const qsizetype got = readFully(fd, data.data() + total, data.size() - total);
        if (got < 0) {
            contents.error = FileError::fromErrno(Kind::ReadError, path, errno);
            break;
        }
        total += got;
        if (total > maxSize) {
            contents.error = tooLarge(path, maxSize);
            break;
        }
        if (total < data.size())
            break;
        data.resize(std::min<qint64>(data.size() + kChunk, maxSize + 1));
    }
    ::close(fd);
    if (contents.error.ok()) {
        data.resize(total);
        contents.data = std::move(data);
    }
    return contents;
}

Contents readTail(const QString &path, qint64 maxSize)
{
    Contents contents;
    qint64 size = 0;
    const int fd = openRegular(path, contents.error, &size);
    if (fd < 0)
        return contents;
    contents.exists = true;
    const qint64 start = std::max<qint64>(0, size - maxSize);
    QByteArray data(qsizetype(size - start), Qt::Uninitialized);
    const qsizetype got =
        ::lseek(fd, start, SEEK_SET) < 0 ? -1 : readFully(fd, data.data(), data.size());
    if (got < 0) {
        contents.error = FileError::fromErrno(Kind::ReadError, path, errno);
    } else {
        data.resize(got);
        if (start > 0)
            data.remove(0, data.indexOf('\n') + 1);
        contents.data = std::move(data);
    }
    ::close(fd);
    return contents;
}

Source::~Source()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

FileError Source::open(const QString &path, qint64 maxSize)
{
    m_path = path;
    m_maxSize = maxSize;
    m_total = 0;
    FileError error;
    qint64 size = 0;
    m_fd = openRegular(path, error, &size);
    if (m_fd >= 0 && size > maxSize) {
        ::close(m_fd);
        m_fd = -1;
        return tooLarge(path, maxSize);
    }
    return error;
}

FileError Source::read(QByteArray &chunk)
{
    if (m_fd < 0) {
        chunk.clear();
        return {};
    }
    const qsizetype got = readFully(m_fd, chunk.data(), chunk.size());
    if (got < 0)
        return FileError::fromErrno(Kind::ReadError, m_path, errno);
    chunk.resize(got);
    m_total += got;
    if (m_total > m_maxSize)
        return tooLarge(m_path, m_maxSize);
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
