// SPDX-License-Identifier: GPL-3.0-or-later
// A TGA picture in both row orders, drawn into the grid as Quake III's font.
#include "fontgrid.h"
#include "tgareader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto picture = TgaReader::read(file);
    if (picture.ok())
        FontGrid::fromPicture(picture.value);
    TgaReader::read(file, TgaReader::RowOrder::AsHeader);
    return 0;
}
