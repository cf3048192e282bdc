// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bytesource.h"
#include "membernames.h"

#include <QByteArray>
#include <QList>
#include <optional>

// The zip archives of Quake III (.pk3), read as its engine reads them (the
// unzip code of ioquake3 and OpenArena): the end record is looked for in the
// last 65,535 bytes; it counts the directory's entries in 16 bits and states
// where the directory starts, any bytes before the archive (a program stub)
// shifting every offset; the entries are walked from there, and a walk that
// meets something else stops, keeping the entries before it. Members are
// stored or deflated (zlib inflates them).
//
// The directory is read in pieces and only the entries looked for are kept,
// so memory does not grow with the number of members.
namespace ZipArchive {

struct Entry
{
    QByteArray name;       // as stored, up to its first NUL
    quint16 nameBytes = 0; // as stored, NULs and all (the local header repeats it)
    quint16 flags = 0;
    quint16 method = 0;
    quint32 crc = 0;
    qint64 packedSize = 0;
    qint64 size = 0;
    qint64 localHeader = 0; // in the file, stub included
};

struct Directory
{
    // The last entry of each of the names looked for (Quake III's lookup meets
    // it first), by the names' index.
    QList<std::optional<Entry>> found;
    qint64 entries = 0; // entries walked
    // Why the walk stopped before the count the end record states, or None.
    GameDataError damage;
};

// The directory of the archive `zip`, looked through for `names`. Refused when
// the engine would not open it: no end record, a directory that cannot lie
// where it is said to, an archive split over several files.
GameDataResult<Directory> scanDirectory(ByteSource &zip, const MemberNames &names);

// The member `entry` of `zip`, stored or inflated; refused when it states or
// inflates to more than `cap` bytes, or its bytes contradict the directory.
GameDataResult<QByteArray> read(ByteSource &zip, const Entry &entry, qint64 cap);

} // namespace ZipArchive
