// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gamedataerror.h"

#include <QImage>
#include <QString>
#include <QStringList>

// The font an installed game draws its console and names with, read from the
// game's own files, as the grid's picture: 256 x 256 pixels (Format_RGB32),
// glyph n in the 16 x 16 cell at column n mod 16, row n div 16, each pixel as
// the engine blends it over black (its colour times its alpha, so a white font
// shaped by its alpha keeps its grey edges), 8-pixel glyphs doubled pixel by
// pixel.
//
//   Quake, QuakeWorld  gfx.wad, lump "conchars" (128 x 128, colour 0 and 255
//                      transparent), colours from gfx/palette.lmp
//   Hexen II           gfx/menu/conchars.lmp (256 x 128, 32 glyphs a row, the
//                      first 256 used), colours from gfx/palette.lmp
//   Quake II           pics/conchars.pcx (colour 255 transparent), colours from
//                      pics/colormap.pcx, else its own
//   Quake III          gfx/2d/bigchars.tga, else gfx/2d/bigchars.jpg
namespace GameFont {

// The grid's picture is this many pixels a side.
inline constexpr int kSide = 256;

// The engines whose fonts are read, each with its own files and search order.
enum class Engine {
    Quake, // Quake and QuakeWorld
    Hexen2,
    Quake2,
    Quake3,
};

struct Font
{
    QImage image;
    // Where it was read: "/q/id1/pak0.pak: gfx.wad; colours from
    // /q/id1/pak0.pak: gfx/palette.lmp".
    QString source;
};

// Reading failed: error.detail is one line naming the place and the reason,
// fit for a tooltip ("No gfx.wad in /q/mod or /q/id1 (2 archives)",
// "/q/baseq3/z.pk3: gfx/2d/bigchars.tga: is 128 x 64 pixels, ...").
using Result = GameDataResult<Font>;

// A file the player chose: a .pak or .pk3 archive (searched for the font of
// `engine` first, then for the other engines' fonts), a .wad, a Hexen II or
// Quake conchars .lmp, or a .pcx or .tga picture. The colours of a Quake or
// Hexen II font come from the archive, else from the game folders around the
// file (a mod's pak takes the base game's palette, as the game does).
Result fromFile(const QString &path, Engine engine = Engine::Quake);

// The installed game's font, searched in the configured game folder (a mod or
// a base folder, whatever its name: "id1", "baseq3", "baseoa") and then in
// the base folders beside it that the engine searches after it, in the
// engine's order:
//   Quake       the folder, then qw and id1 beside it; in each folder
//               pak0.pak, pak1.pak ... up to the first missing one, a later
//               pak over an earlier one, every pak over loose files
//   Hexen II    the folder, then portals and data1; pak0.pak to pak9.pak,
//               loose files over paks
//   Quake II    the folder, then baseq2; pak0.pak to pak9.pak, paks over
//               loose files
//   Quake III   the folder, then baseq3; every *.pk3, later in Quake III's
//               name order over earlier, pk3s over loose files
Result fromGameFolder(Engine engine, const QString &folder);

// The font as the engine finds it when `folders` are searched in this order,
// the first over the rest: the player's home game folder first, then the
// installation's ("~/.openarena/baseoa", "/usr/lib/openarena/baseoa"). Within
// a folder the engine's own archive order holds; the base folders beside the
// folders follow them, as above. Folders that do not exist are skipped; when
// nothing is found, the error names what was searched, and any archive passed
// over and why.
Result fromGameFolders(Engine engine, const QStringList &folders);

// Quake III's colour `index` (0 black, 1 red, 2 green, 3 yellow, 4 blue,
// 5 cyan, 6 magenta, 7 white) applied as the engine applies it: every pixel of
// the white font multiplied by the colour. A null image for another index.
QImage tint(const QImage &whiteFont, int index);

} // namespace GameFont
