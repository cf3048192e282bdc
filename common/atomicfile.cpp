// SPDX-License-Identifier: GPL-3.0-or-later
#include "atomicfile.h"

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype kNameMax = 255; // bytes in one name, on every file system we meet
constexpr char kTemporaryMark[] = ".glyphsmith-";
constexpr int kRandomLength = 6;

using Kind = FileError::Kind;

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return ".";
    return slash == 0 ? QByteArray("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

// A name beside the file: its own name and `suffix`. Where both would not fit in
// one name, the file's name is cut and a hash of it keeps such names apart.
QByteArray besideName(const QByteArray &name, qsizetype suffixLength)
{
    if (name.size() + suffixLength <= kNameMax)
        return name;
    quint32 hash = 2166136261u; // FNV-1a: the same in every process, unlike qHash
    for (char c : name)
        hash = (hash ^ quint8(c)) * 16777619u;
    return name.left(kNameMax - suffixLength - 9) + '-' +
           QByteArray::number(hash, 16).rightJustified(8, '0');
}

// Temporaries of `target` are "<name>.glyphsmith-XXXXXX" beside it.
QByteArray temporaryPrefix(const QByteArray &target)
{
    const QByteArray mark(kTemporaryMark);
    const QByteArray folder = folderOf(target);
    const QByteArray base = besideName(nameOf(target), mark.size() + kRandomLength);
    return (folder == "/" ? folder : folder + '/') + base + mark;
}

QByteArray lockPath(const QByteArray &target)
{
    const QByteArray suffix(".lock");
    const QByteArray folder = folderOf(target);
    return (folder == "/" ? folder : folder + '/') + besideName(nameOf(target), suffix.size()) +
           suffix;
}

QByteArray randomText()
{
    static constexpr char kChars[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray out(kRandomLength, Qt::Uninitialized);
    for (char &c : out)
        c = kChars[QRandomGenerator::global()->bounded(int(sizeof kChars - 1))];
    return out;
}

bool isOurTemporaryName(const QByteArray &name, const QByteArray &prefixName)
{
    if (name.size() != prefixName.size() + kRandomLength || !name.startsWith(prefixName))
        return false;
    for (qsizetype i = prefixName.size(); i < name.size(); ++i) {
        const char c = name.at(i);
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

// Only the holder of the file's lock calls this, so no temporary of the same file
// can be in use: whatever is there was left by a writer that died.
void removeStaleTemporaries(const QByteArray &target)
{
    const QByteArray prefix = temporaryPrefix(target);
    const QByteArray folder = folderOf(prefix);
    const QByteArray prefixName = nameOf(prefix);
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (isOurTemporaryName(name, prefixName))
            ::unlink((folder + '/' + name).constData());
    }
    ::closedir(dir);
}

void syncFolder(const QByteArray &path)
{
    // Makes the rename itself durable; a file system that cannot is no reason to fail.
    const int fd = ::open(folderOf(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

struct Target
{
    FileError error;
    QByteArray path;
    bool exists = false;
    unsigned mode = 0;
};

Target examine(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    Target t;
    t.path = native;
    struct stat st = {};
    if (::lstat(native.constData(), &st) != 0) {
        if (errno != ENOENT)
            t.error = FileError::fromErrno(Kind::OpenError, path, errno);
        return t;
    }
    if (S_ISLNK(st.st_mode)) {
        // A link to nothing would have us create a file somewhere the user never
        // chose; a link to a file is written through and stays a link.
        char resolved[PATH_MAX];
        if (::stat(native.constData(), &st) != 0 || !::realpath(native.constData(), resolved)) {
            t.error = {Kind::NotAFile, path,
                       QStringLiteral("It is a link to a file that does not exist.")};
            return t;
        }
        t.path = resolved;
    }
    if (S_ISDIR(st.st_mode)) {
        t.error = {Kind::NotAFile, path, QStringLiteral("It is a folder, not a file.")};
        return t;
    }
    if (!S_ISREG(st.st_mode)) {
        t.error = {Kind::NotAFile, path, QStringLiteral("It is not a regular file.")};
        return t;
    }
    // Replacing goes through the folder, but a file made read-only is meant to stay.
    if (::access(t.path.constData(), W_OK) != 0) {
        t.error = FileError::fromErrno(Kind::OpenError, path, errno);
        return t;
    }
    t.exists = true;
    t.mode = st.st_mode & 07777;
    return t;
}

} // namespace

AtomicFile::AtomicFile(const QString &path) : m_path(path), m_target(path) {}

AtomicFile::~AtomicFile()
{
    removeTemporary();
    release();
}

FileError AtomicFile::begin(int lockTimeoutMs)
{
    Target target = examine(m_path);
    if (!target.error.ok())
        return target.error;
    // The lock goes with the file actually written, whichever link led to it.
    m_lock = std::make_unique<FileLock>(QFile::decodeName(lockPath(target.path)));
    if (FileError locked = m_lock->lock(lockTimeoutMs); !locked.ok()) {
        m_lock.reset();
        return {locked.kind(), m_path, locked.detail()};
    }
    // Another writer may have replaced the file while we waited.
    const QByteArray lockedPath = target.path;
    target = examine(m_path);
    if (!target.error.ok() || target.path != lockedPath) {
        release();
        return target.error.ok()
                   ? FileError(Kind::Locked, m_path, QStringLiteral("it was moved while we waited"))
                   : target.error;
    }
    m_nativeTarget = target.path;
    m_target = QFile::decodeName(target.path);
    m_existed = target.exists;
    m_mode = target.mode;

    removeStaleTemporaries(m_nativeTarget);
    const QByteArray prefix = temporaryPrefix(m_nativeTarget);
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_temporary = prefix + randomText();
        m_fd = ::open(m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0)
            return {};
        if (errno != EEXIST && errno != EINTR)
            break;
    }
    const int error = errno;
    m_temporary.clear();
    release();
    return FileError::fromErrno(Kind::OpenError, m_path, error);
}

FileError AtomicFile::fail(FileError::Kind kind, int errnum)
{
    m_error = FileError::fromErrno(kind, m_path, errnum);
    removeTemporary();
    return m_error;
}

FileError AtomicFile::write(QByteArrayView bytes)
{
    if (!m_error.ok())
        return m_error;
    if (m_fd < 0)
        return fail(Kind::WriteError, EBADF);
    const char *at = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(m_fd, at, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return fail(Kind::WriteError, errno);
        }
        // Nothing written and no reason given: the disk took no more.
        if (written == 0)
            return fail(Kind::WriteError, ENOSPC);
        at += written;
        left -= written;
    }
    return {};
}

FileError AtomicFile::commit(bool keepPrevious)
{
    if (!m_error.ok())
        return m_error;
    if (m_fd < 0)
        return fail(Kind::WriteError, EBADF);
    if (m_existed)
        ::fchmod(m_fd, mode_t(m_mode)); // as QSaveFile does: best effort
    if (::fsync(m_fd) != 0 && errno != EINVAL && errno != EROFS && errno != ENOTSUP)
        return fail(Kind::WriteError, errno);
    const int fd = m_fd;
    m_fd = -1;
    // A close can still report a write the disk refused (network file systems).
    if (::close(fd) != 0 && errno != EINTR)
        return fail(Kind::WriteError, errno);

    if (keepPrevious && m_existed) {
        // A second name for the old file, so taking the write back needs no space.
        const QByteArray previous = temporaryPrefix(m_nativeTarget) + randomText();
        if (::link(m_nativeTarget.constData(), previous.constData()) == 0)
            m_previous = previous;
    }
    if (::rename(m_temporary.constData(), m_nativeTarget.constData()) != 0) {
        const int error = errno;
        removeTemporary();
        release();
        m_error = FileError::fromErrno(Kind::RenameError, m_path, error);
        return m_error;
    }
    m_temporary.clear();
    syncFolder(m_nativeTarget);
    m_committed = true;
    if (!keepPrevious)
        release();
    return {};
}

FileError AtomicFile::revert()
{
    if (!m_committed || !m_lock)
        return {Kind::UndoError, m_path, QStringLiteral("There is no write to take back.")};
    FileError result;
    if (!m_existed) {
        if (::unlink(m_nativeTarget.constData()) != 0)
            result = FileError::fromErrno(Kind::UndoError, m_path, errno);
    } else if (m_previous.isEmpty()) {
        result = {Kind::UndoError, m_path,
                  QStringLiteral("The file system could not keep the previous version.")};
    } else if (::rename(m_previous.constData(), m_nativeTarget.constData()) != 0) {
        result = FileError::fromErrno(Kind::UndoError, m_path, errno);
    } else {
        m_previous.clear();
    }
    if (result.ok())
        syncFolder(m_nativeTarget);
    release();
    return result;
}

void AtomicFile::release()
{
    if (!m_previous.isEmpty()) {
        ::unlink(m_previous.constData());
        m_previous.clear();
    }
    m_committed = false;
    m_lock.reset();
}

void AtomicFile::removeTemporary()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.isEmpty()) {
        ::unlink(m_temporary.constData());
        m_temporary.clear();
    }
}
