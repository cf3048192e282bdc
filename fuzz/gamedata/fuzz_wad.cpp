// SPDX-License-Identifier: GPL-3.0-or-later
// A WAD2 file's conchars lump, drawn into the grid as Quake's font.
#include "bytesource.h"
#include "fontgrid.h"
#include "wadfile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    auto wad =
        BufferSource::create(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const auto conchars = WadFile::readLump(*wad, "conchars", 128 * 128);
    if (conchars.ok())
        FontGrid::fromIndexed(conchars.value, 128, 128, QByteArray(768, '\x40'), {0, 255});
    return 0;
}
