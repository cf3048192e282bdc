// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileerror.h"

#include <QString>

// The one rule for every file the programs only read (settings, key store,
// scripts, font pictures, a game's archives and pictures): it is read only if it
// is a regular file, links followed. A folder, pipe, device or socket in its
// place, or a link in a loop of links, is refused with the reason
// (FileError::Kind::NotAFile) before anything is opened, so no read waits for a
// writer that never comes or runs on without end, and no device is woken by an
// open. A missing file (or a link to nothing) is no error: isOpen() stays false.
class RegularFile
{
public:
    RegularFile() = default;
    ~RegularFile();
    RegularFile(RegularFile &&other) noexcept;
    RegularFile &operator=(RegularFile &&other) noexcept;
    RegularFile(const RegularFile &) = delete;
    RegularFile &operator=(const RegularFile &) = delete;

    // Opens `path` for reading, closing what was open before.
    FileError open(const QString &path);
    void close();

    bool isOpen() const { return m_fd >= 0; }
    const QString &path() const { return m_path; }
    // Bytes when it was opened.
    qint64 size() const { return m_size; }

    // Up to `count` bytes into `into`, at the file's position or at `position`;
    // `got` says how many, fewer than `count` only at the end of the file.
    FileError read(char *into, qint64 count, qint64 &got);
    FileError readAt(qint64 position, char *into, qint64 count, qint64 &got) const;

private:
    int m_fd = -1;
    qint64 m_size = 0;
    QString m_path;
};
