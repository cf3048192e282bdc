// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileerror.h"

#include <QByteArray>
#include <QString>

// The lock every writer of one file takes, in this process and in any other: a
// lock file beside it, held with a kernel lock (flock) rather than by its content.
// A program that dies lets go of the lock with its last breath, so a left-over
// lock file, empty or naming a dead owner, is taken over at once; only a live
// writer makes the next one wait. The lock file is removed when the lock is let go.
class FileLock
{
public:
    explicit FileLock(const QString &lockPath);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    // Waits up to `timeoutMs` for a live holder to finish. Kind Locked when it
    // did not, OpenError when the lock file cannot be created at all.
    FileError lock(int timeoutMs);
    void unlock();
    bool isLocked() const { return m_fd >= 0; }

private:
    QString m_path;
    QByteArray m_native;
    int m_fd = -1;
};
