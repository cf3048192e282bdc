// SPDX-License-Identifier: GPL-3.0-or-later
// A PACK archive's directory, then a little of every member it lists, as the
// font search reads them.
#include "bytesource.h"
#include "packfile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    auto pak =
        BufferSource::create(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const auto directory = PackFile::readDirectory(*pak);
    if (!directory.ok())
        return 0;
    PackFile::find(directory.value, "gfx.wad", Qt::CaseSensitive);
    PackFile::find(directory.value, "PICS/CONCHARS.PCX", Qt::CaseInsensitive);
    for (const PackFile::Entry &entry : directory.value) {
        auto member = pak->slice(entry.offset, entry.size);
        if (member.ok())
            member.value->read(0, std::min<qint64>(member.value->size(), 64));
    }
    return 0;
}
