// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bytesource.h"

#include <QByteArray>

// Quake's WAD2 archives (gfx.wad): a 12-byte header ("WAD2", lump count,
// directory offset) and a directory of 32-byte entries (offset, stored size,
// size, type, compression, two pad bytes, a 16-byte name), numbers
// little-endian 32-bit. Only the header, the directory and the one lump are read.
namespace WadFile {

// Gfx.wad holds about a hundred lumps; anything far beyond is not a game's wad.
constexpr int kMaxLumps = 65536;

// The first `bytes` bytes of the first lump called `name`, matched the way
// Quake matches them (case-insensitive, up to 16 characters). Like the engine,
// the lump's own size fields are not consulted: the bytes must only lie inside
// the wad.
GameDataResult<QByteArray> readLump(ByteSource &wad, const QByteArray &name, qint64 bytes);

} // namespace WadFile
