// SPDX-License-Identifier: GPL-3.0-or-later
#include "regularfile.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

using Kind = FileError::Kind;

// Why a file of this type is not read; empty for a regular file.
QString refusal(mode_t mode)
{
    if (S_ISREG(mode))
        return {};
    if (S_ISDIR(mode))
        return QStringLiteral("It is a folder, not a file.");
    if (S_ISFIFO(mode))
        return QStringLiteral("It is a pipe, not a regular file.");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("It is a device, not a regular file.");
    if (S_ISSOCK(mode))
        return QStringLiteral("It is a socket, not a regular file.");
    return QStringLiteral("It is not a regular file.");
}

// What a failed stat() or open() means: a missing file is no error.
FileError failure(const QString &path, int errnum)
{
    switch (errnum) {
    case ENOENT:
        return {};
    case ELOOP:
        return {Kind::NotAFile, path,
                QStringLiteral("It is a link in a loop of links, not a file.")};
    default:
        return FileError::fromErrno(Kind::ReadError, path, errnum);
    }
}

} // namespace

RegularFile::~RegularFile()
{
    close();
}

RegularFile::RegularFile(RegularFile &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_size(other.m_size), m_path(std::move(other.m_path))
{}

RegularFile &RegularFile::operator=(RegularFile &&other) noexcept
{
    if (this != &other) {
        close();
        m_fd = std::exchange(other.m_fd, -1);
        m_size = other.m_size;
        m_path = std::move(other.m_path);
    }
    return *this;
}

FileError RegularFile::open(const QString &path)
{
    close();
    m_path = path;
    const QByteArray native = QFile::encodeName(path);
    // The type is looked at before the open, so that a device never sees one
    // (some act on it: a tape rewinds, a watchdog starts counting).
    struct stat st = {};
    if (::stat(native.constData(), &st) != 0)
        return failure(path, errno);
    if (const QString why = refusal(st.st_mode); !why.isEmpty())
        return {Kind::NotAFile, path, why};
    // Something else may take the file's place meanwhile: the open never waits
    // (a pipe would) and the type is checked again on what was opened.
    int fd;
    do {
        fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return failure(path, errno);
    if (::fstat(fd, &st) != 0) {
        const int errnum = errno;
        ::close(fd);
        return FileError::fromErrno(Kind::ReadError, path, errnum);
    }
    if (const QString why = refusal(st.st_mode); !why.isEmpty()) {
        ::close(fd);
        return {Kind::NotAFile, path, why};
    }
    m_fd = fd;
    m_size = st.st_size;
    return {};
}

void RegularFile::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_size = 0;
}

FileError RegularFile::read(char *into, qint64 count, qint64 &got)
{
    got = 0;
    while (got < count) {
        const ssize_t n = ::read(m_fd, into + got, size_t(count - got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return FileError::fromErrno(Kind::ReadError, m_path, errno);
        }
        if (n == 0)
            break;
        got += n;
    }
    return {};
}

FileError RegularFile::readAt(qint64 position, char *into, qint64 count, qint64 &got) const
{
    got = 0;
    while (got < count) {
        const ssize_t n = ::pread(m_fd, into + got, size_t(count - got), off_t(position + got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return FileError::fromErrno(Kind::ReadError, m_path, errno);
        }
        if (n == 0)
            break;
        got += n;
    }
    return {};
}
