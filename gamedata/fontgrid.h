// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gamedataerror.h"

#include <QByteArray>
#include <QImage>
#include <QList>

// A game's font picture turned into the grid's picture: 256 x 256 pixels
// (Format_RGB32), glyph n in the 16 x 16 cell at column n mod 16, row n div 16,
// drawn over black the way the game draws it over a dark screen.
namespace FontGrid {

// The smallest and largest font pictures taken; the games' own are 128 (8-pixel
// glyphs) and 256 (16-pixel glyphs) pixels square.
constexpr int kMinSide = 128;
constexpr int kMaxSide = 2048;

// A square picture of 16 x 16 glyphs, side a multiple of 16 from kMinSide to
// kMaxSide. Alpha is drawn over black; 128 pixels are doubled pixel by pixel,
// other sizes than 256 are scaled smoothly.
GameDataResult<QImage> fromPicture(const QImage &picture);

// An 8-bit picture in a 768-byte palette (red, green, blue per index), with
// the indices in `transparent` drawn black. `glyphsPerRow` is 16 for Quake's and
// Quake II's fonts; Hexen II's is 32 glyphs wide (512 glyphs, of which the
// first 256 are the plain ones a name is drawn with).
GameDataResult<QImage> fromIndexed(const QByteArray &indices, int width, int height,
                                   const QByteArray &palette, const QList<uchar> &transparent,
                                   int glyphsPerRow = 16);

} // namespace FontGrid
