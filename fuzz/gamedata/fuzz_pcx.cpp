// SPDX-License-Identifier: GPL-3.0-or-later
// A PCX picture, drawn into the grid as Quake II's font.
#include "fontgrid.h"
#include "pcxreader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto picture =
        PcxReader::read(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (picture.ok())
        FontGrid::fromIndexed(picture.value.indices, picture.value.width, picture.value.height,
                              picture.value.palette, {255});
    return 0;
}
