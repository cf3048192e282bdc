// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// How a file operation went, reported the way QFileDevice reports it: a kind that
// code can act on, the file concerned, and a detail (the system's reason, or the
// check that refused) for the message. A default-constructed value means success.
// The data layers return it; only the command layers and the shell turn it into a
// sentence for the user.
class [[nodiscard]] FileError
{
public:
    enum class Kind {
        None,
        Refused,     // the request cannot be kept in the file: a name it cannot hold
        NotFound,    // the request needs a key that does not exist
        Locked,      // another program kept the file locked for the whole wait
        ReadError,   // the file exists but could not be read
        NotAFile,    // a folder, device, pipe or a link to nothing stands in its place
        TooLarge,    // larger than a file of its purpose may be
        Foreign,     // not in the format we write
        OpenError,   // the new file (or the lock) could not be created beside the old one
        WriteError,  // the data did not all reach the disk: full, failing, over a size limit
        RenameError, // the new file could not take the old one's place
        UndoError,   // a finished write could not be taken back
    };

    FileError() = default;
    FileError(Kind kind, const QString &path, const QString &detail)
        : m_kind(kind), m_path(path), m_detail(detail)
    {}

    // The system's reason for `errnum` as the detail.
    static FileError fromErrno(Kind kind, const QString &path, int errnum);

    bool ok() const { return m_kind == Kind::None; }
    Kind kind() const { return m_kind; }
    QString path() const { return m_path; }
    QString detail() const { return m_detail; }

    // "path: detail", or the detail alone when no file is concerned.
    QString text() const;

private:
    Kind m_kind = Kind::None;
    QString m_path;
    QString m_detail;
};
