// SPDX-License-Identifier: GPL-3.0-or-later
// A zip archive through libzip as the font search opens a .pk3: the central
// directory, then its members inflated up to a cap; a member that holds a TGA
// is read as Quake III's font.
#include "fontgrid.h"
#include "tgareader.h"
#include "ziparchive.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    auto archive =
        ZipArchive::fromBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!archive.ok())
        return 0;
    const qsizetype members = std::min<qsizetype>(archive.value->count(), 8);
    for (qsizetype i = 0; i < members; ++i) {
        const auto bytes = archive.value->read(i, 1 << 20);
        if (!bytes.ok() || !QByteArray(archive.value->name(i)).endsWith(".tga"))
            continue;
        const auto picture = TgaReader::read(bytes.value);
        if (picture.ok())
            FontGrid::fromPicture(picture.value);
    }
    return 0;
}
