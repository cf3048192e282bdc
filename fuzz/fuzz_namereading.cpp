// SPDX-License-Identifier: GPL-3.0-or-later
// Script files and pasted text are whatever the player has: every byte string
// goes through reading, decoding, the name check and the in-game view, and the
// results must stay inside the name they came from.
#include "gamefamilies.h"
#include "ingamename.h"
#include "namecheck.h"
#include "namedecoder.h"
#include "namescript.h"

#include <cstddef>
#include <cstdint>

namespace {

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void decodeAll(const QByteArray &raw)
{
    for (TableFiller filler :
         {TableFiller::QuakeEngine, TableFiller::Hex, TableFiller::Quake3, TableFiller::Ascii}) {
        const DecodedName name = DecodedName::decode(raw, filler);
        require(name.slots.size() <= 25);
        qsizetype used = name.unmatched.size() + name.leftover.size();
        for (const DecodedName::Slot &slot : name.slots) {
            require(slot.cell >= 0 && slot.cell < 256);
            require(slot.text.endsWith(GlyphTables::table(filler)[slot.cell]));
            used += slot.text.size();
        }
        // Every byte is a glyph, a colour code, unmatched or left over, unless cut.
        require(name.truncated ? used <= raw.size() : used == raw.size());
    }
}

void checkAll(const QByteArray &raw)
{
    for (const GameFamily &family : GameFamilies::families()) {
        for (bool quoted : {false, true}) {
            const NameVerdict verdict = NameCheck::check(raw, family, quoted);
            for (const NameFinding &f : verdict.findings)
                require(f.position >= 0 && f.position < raw.size());
            const InGameName view = InGameName::render(raw, family, quoted);
            const NameLimit *tight = NameRules::tightestCut(family);
            if (tight && !view.replaced)
                require(view.glyphs.size() <= tight->bytes);
            for (const InGameName::Glyph &g : view.glyphs)
                require(g.from < raw.size() && g.colour >= -1 && g.colour <= 7);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    NameScript::looksLikeText(bytes);
    for (TableFiller filler :
         {TableFiller::QuakeEngine, TableFiller::Hex, TableFiller::Quake3, TableFiller::Ascii}) {
        const Framing framing = GlyphTables::framing(filler);
        if (const std::optional<QByteArray> raw = NameScript::rawNameFromScript(bytes, framing))
            require(raw->size() <= bytes.size());
        NameScript::rawNameFromPaste(bytes, framing);
    }
    // Names are short; a long input only repeats what its start already tried.
    const QByteArray raw = bytes.left(200);
    decodeAll(raw);
    checkAll(raw);
    return 0;
}
