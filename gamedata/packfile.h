// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bytesource.h"

#include <QByteArray>
#include <QList>

// The PACK archives of Quake, Hexen II and Quake II (.pak): a 12-byte header
// ("PACK", directory offset, directory length) and a directory of 64-byte
// entries (a 56-byte name, then offset and length of the member), all numbers
// little-endian 32-bit. Only the header and the directory are read.
namespace PackFile {

// The engines refuse a directory of more entries (Quake II's limit; Quake's is 2048).
constexpr int kMaxEntries = 4096;

struct Entry
{
    QByteArray name; // as stored, up to its first NUL: "gfx/palette.lmp"
    qint64 offset = 0;
    qint64 size = 0;
};

// The directory, in stored order. Entries that point outside the archive are
// kept (the engine keeps them too); reading one fails then, reading another
// still works.
GameDataResult<QList<Entry>> readDirectory(ByteSource &pak);

// The first entry named `name`, as the engines look it up; -1 if none.
qsizetype find(const QList<Entry> &entries, const QByteArray &name, Qt::CaseSensitivity cs);

} // namespace PackFile
