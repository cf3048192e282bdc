// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gamedataerror.h"

#include <QByteArray>

// The 8-bit run-length PCX pictures of Quake II (pics/conchars.pcx), read the
// way its engine reads them: a 128-byte header (0x0A, version 5, encoding 1,
// 8 bits per pixel), xmax + 1 pixels by ymax + 1 rows, each row decoded on its
// own (a run longer than the row is cut there), and the 256-colour palette in
// the last 768 bytes of the file.
namespace PcxReader {

// Quake II refuses anything wider or taller.
constexpr int kMaxWidth = 640;
constexpr int kMaxHeight = 480;

struct Picture
{
    int width = 0;
    int height = 0;
    QByteArray indices; // width * height colour indices, rows top to bottom
    QByteArray palette; // 768 bytes: red, green, blue for each index
};

GameDataResult<Picture> read(const QByteArray &file);

} // namespace PcxReader
