// SPDX-License-Identifier: GPL-3.0-or-later
// A zip archive as the font search reads a .pk3: its directory walked for the
// font's names, the members found inflated up to a cap, and a TGA among them
// read as Quake III's font.
#include "bytesource.h"
#include "fontgrid.h"
#include "membernames.h"
#include "tgareader.h"
#include "ziparchive.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    auto zip =
        BufferSource::create(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const MemberNames names({"gfx/2d/bigchars.tga", "gfx/2d/bigchars.jpg", "pics/colormap.pcx"},
                            MemberNames::Compare::Quake3);
    const auto directory = ZipArchive::scanDirectory(*zip, names);
    if (!directory.ok())
        return 0;
    for (const auto &entry : directory.value.found) {
        if (!entry)
            continue;
        const auto bytes = ZipArchive::read(*zip, *entry, 1 << 20);
        if (!bytes.ok() || !entry->name.endsWith(".tga"))
            continue;
        const auto picture = TgaReader::read(bytes.value);
        if (picture.ok())
            FontGrid::fromPicture(picture.value);
    }
    return 0;
}
