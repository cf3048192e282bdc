// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gamedataerror.h"

#include <QByteArray>
#include <memory>

struct zip;

// A zip archive (Quake III's .pk3) read through libzip: opening reads the
// central directory only; a member is inflated when it is read, up to a cap
// given by the caller, whatever size the archive states for it.
class ZipArchive
{
public:
    static GameDataResult<std::unique_ptr<ZipArchive>> open(const QString &path);
    // The same from bytes in memory (tests and fuzzing).
    static GameDataResult<std::unique_ptr<ZipArchive>> fromBytes(QByteArray bytes);
    ~ZipArchive();

    ZipArchive(const ZipArchive &) = delete;
    ZipArchive &operator=(const ZipArchive &) = delete;

    // The number of members, and member `index`'s name as stored (central-directory
    // order; valid while the archive lives, empty if libzip cannot give it).
    qsizetype count() const { return m_count; }
    const char *name(qsizetype index) const;

    // Member `index` inflated; refused once it grows past `cap` bytes.
    GameDataResult<QByteArray> read(qsizetype index, qint64 cap);

private:
    ZipArchive(zip *archive, QByteArray bytes);

    zip *m_archive;
    QByteArray m_bytes; // what a memory archive reads from; empty for a file
    qsizetype m_count = 0;
};
