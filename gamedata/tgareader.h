// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gamedataerror.h"

#include <QByteArray>
#include <QImage>

// The TGA pictures Quake III reads (gfx/2d/bigchars.tga): an 18-byte header,
// no colour map; type 2 (true colour), 3 (grey) or 10 (run-length true
// colour); 24 or 32 bits per pixel, or 8 for grey. Run-length packets may run
// on into the next row, as the engine allows.
namespace TgaReader {

// Larger pictures are refused before anything is allocated.
constexpr int kMaxSide = 2048;

enum class RowOrder {
    // Rows bottom to top whatever the header says: id's Quake III, ioquake3
    // and Quake3e all ignore the top-down flag (they warn and read bottom-up),
    // so this is what the game draws.
    AsQuake3,
    // Rows in the order the header's image-origin bit states.
    AsHeader,
};

// The picture as Format_ARGB32 (alpha 255 where the file has none).
GameDataResult<QImage> read(const QByteArray &file, RowOrder order = RowOrder::AsQuake3);

} // namespace TgaReader
