// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileerror.h"
#include "filelock.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>

// Replaces a file in one step, the way every writer of the programs does it: under
// the file's lock (FileLock), the new content goes into a temporary file beside
// it; every write, the sync to disk and the close are checked; only then does the
// temporary take the old file's place by a rename, with the old file's
// permissions. Until commit() succeeds the old file is untouched, and a failure
// reports why and leaves it as it was. A crash may leave a temporary behind: the
// next write of the same file removes it.
//
// One rule for every writer: a link to an existing file is written through and
// stays a link; a link to nothing, a folder, a device or a pipe is refused.
class AtomicFile
{
public:
    explicit AtomicFile(const QString &path);
    // Cancels a write that was not committed; see release().
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    // Checks the target, takes its lock (waiting up to `lockTimeoutMs` for a live
    // writer), removes stale temporaries of the same file, and creates the
    // temporary that write() fills.
    FileError begin(int lockTimeoutMs);

    // The file that commit() replaces: the path given, links resolved.
    QString target() const { return m_target; }
    // Whether the target existed when begin() looked (under the lock).
    bool existed() const { return m_existed; }

    // Writes all of `bytes`, or fails; after a failure nothing more is written and
    // commit() fails too.
    FileError write(QByteArrayView bytes);

    // Puts the new content in place. With `keepPrevious`, the replaced version is
    // kept and the lock held, so that revert() can still take the write back
    // until release().
    FileError commit(bool keepPrevious = false);

    // After commit(true): the previous version back in place, or the new file
    // removed when there was none before. Releases either way.
    FileError revert();

    // Drops the kept previous version and lets go of the lock.
    void release();

private:
    FileError fail(FileError::Kind kind, int errnum);
    void removeTemporary();

    QString m_path;
    QString m_target;
    QByteArray m_nativeTarget;
    QByteArray m_temporary;
    QByteArray m_previous; // the kept previous version, after commit(true)
    std::unique_ptr<FileLock> m_lock;
    FileError m_error;
    int m_fd = -1;
    unsigned m_mode = 0;
    bool m_existed = false;
    bool m_committed = false;
};
