// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bytesource.h"
#include "membernames.h"

#include <QByteArray>
#include <QList>
#include <optional>

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

// The first entry of each of `names` (by the names' index; none where the
// directory has no such entry), as the engines look them up. Entries that point
// outside the archive are kept (the engine keeps them too); reading one fails
// then, reading another still works.
using Found = QList<std::optional<Entry>>;
GameDataResult<Found> scanDirectory(ByteSource &pak, const MemberNames &names);

} // namespace PackFile
