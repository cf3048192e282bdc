// SPDX-License-Identifier: GPL-3.0-or-later
// A PACK archive's directory, looked through for the names the font search
// asks for, then a little of each member found, as the search reads them.
#include "bytesource.h"
#include "membernames.h"
#include "packfile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    auto pak =
        BufferSource::create(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    for (const auto compare : {MemberNames::Compare::Exact, MemberNames::Compare::IgnoreCase}) {
        const MemberNames names({"gfx.wad", "gfx/palette.lmp", "PICS/CONCHARS.PCX"}, compare);
        const auto found = PackFile::scanDirectory(*pak, names);
        if (!found.ok())
            return 0;
        for (const auto &entry : found.value) {
            if (!entry)
                continue;
            auto member = pak->slice(entry->offset, entry->size);
            if (member.ok())
                member.value->read(0, std::min<qint64>(member.value->size(), 64));
        }
    }
    return 0;
}
