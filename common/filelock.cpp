// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

FileLock::FileLock(const QString &lockPath)
    : m_path(lockPath), m_native(QFile::encodeName(lockPath))
{}

FileLock::~FileLock()
{
    unlock();
}

FileError FileLock::lock(int timeoutMs)
{
    if (m_fd >= 0)
        return {};
    const QDeadlineTimer deadline(std::max(timeoutMs, 0));
    int pauseMs = 1;
    for (;;) {
        const int fd =
            ::open(m_native.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (fd < 0) {
            if (errno == EINTR)
                continue;
            return FileError::fromErrno(FileError::Kind::OpenError, m_path, errno);
        }
        bool held = false;
        while (!held) {
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
                held = true;
            } else if (errno != EINTR) {
                const int error = errno;
                if (error != EWOULDBLOCK || deadline.hasExpired()) {
                    ::close(fd);
                    if (error != EWOULDBLOCK)
                        return FileError::fromErrno(FileError::Kind::OpenError, m_path, error);
                    return {FileError::Kind::Locked, m_path,
                            QStringLiteral("another program keeps it locked")};
                }
                ::usleep(useconds_t(pauseMs) * 1000);
                pauseMs = std::min(pauseMs * 2, 20);
            }
        }
        // The holder before us removes the file as it lets go: our lock only counts
        // when it is on the file that is at the path now.
        struct stat ours = {};
        struct stat atPath = {};
        if (::fstat(fd, &ours) == 0 && ::stat(m_native.constData(), &atPath) == 0 &&
            ours.st_dev == atPath.st_dev && ours.st_ino == atPath.st_ino) {
            m_fd = fd;
            return {};
        }
        ::close(fd);
        if (deadline.hasExpired())
            return {FileError::Kind::Locked, m_path,
                    QStringLiteral("another program keeps it locked")};
    }
}

void FileLock::unlock()
{
    if (m_fd < 0)
        return;
    // Removed while still held, so nobody can have taken the lock on this file.
    ::unlink(m_native.constData());
    ::close(m_fd);
    m_fd = -1;
}
