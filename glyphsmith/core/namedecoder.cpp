// SPDX-License-Identifier: GPL-3.0-or-later
#include "namedecoder.h"

#include "gamemodes.h"
#include "namecomposer.h"
#include "namerules.h"

#include <QHash>
#include <algorithm>

namespace {

struct Inverse
{
    QHash<QByteArray, int> cellOf; // entry -> the cell that decoding picks for it
    qsizetype longest = 0;
};

Inverse invert(const GlyphTable &table)
{
    Inverse inv;
    for (int cell = 0; cell < 256; ++cell) {
        const QByteArray &entry = table[cell];
        inv.longest = std::max(inv.longest, entry.size());
        const auto it = inv.cellOf.constFind(entry);
        const bool own = entry.size() == 1 && static_cast<uchar>(entry[0]) == cell;
        // Cells are visited in order, so a cell already there is the lowest.
        if (it == inv.cellOf.cend() || own)
            inv.cellOf.insert(entry, cell);
    }
    return inv;
}

// The colour code at raw[i], longest first: the list's own codes ("^^0"), then "^"
// and a letter or digit. Returns its length, 0 for none, and its colour.
qsizetype colourCodeAt(const QByteArray &raw, qsizetype i, int *colour)
{
    qsizetype best = 0;
    for (const ColourInfo &c : GameModes::colours()) {
        const QByteArray code(c.code);
        if (code.size() > best && raw.mid(i, code.size()) == code) {
            best = code.size();
            *colour = c.gameIndex;
        }
    }
    if (best == 0 && NameRules::isColourCode(raw, i)) {
        best = 2;
        *colour = NameRules::colourIndex(raw[i + 1]);
    }
    return best;
}

const Inverse &inverseOf(TableFiller filler)
{
    switch (filler) {
    case TableFiller::QuakeEngine: {
        static const Inverse quake = invert(GlyphTables::table(filler));
        return quake;
    }
    case TableFiller::Hex: {
        static const Inverse hex = invert(GlyphTables::table(filler));
        return hex;
    }
    case TableFiller::Quake3: {
        static const Inverse q3 = invert(GlyphTables::table(filler));
        return q3;
    }
    case TableFiller::Ascii:
        break;
    }
    static const Inverse ascii = invert(GlyphTables::table(TableFiller::Ascii));
    return ascii;
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

} // namespace

DecodedName DecodedName::decode(const QByteArray &raw, TableFiller filler)
{
    const GlyphTable &table = GlyphTables::table(filler);
    const bool colours = GlyphTables::framing(filler).colourCodes;
    const bool hex = filler == TableFiller::Hex;
    const Inverse &inv = inverseOf(filler);

    DecodedName name;
    QByteArray codes; // colour codes waiting for their glyph
    int colour = colours ? 7 : -1;
    qsizetype i = 0;
    while (i < raw.size()) {
        if (colours) {
            int codeColour = colour;
            if (const qsizetype len = colourCodeAt(raw, i, &codeColour)) {
                codes += raw.mid(i, len);
                colour = codeColour;
                i += len;
                continue;
            }
        }
        qsizetype len = std::min(inv.longest, raw.size() - i);
        for (; len > 0; --len) {
            const QByteArray piece = hex ? raw.mid(i, len).toUpper() : raw.mid(i, len);
            if (inv.cellOf.contains(piece))
                break;
        }
        if (len == 0) {
            if (hex && i + 1 == raw.size() && isHexDigit(raw[i])) {
                name.leftover = raw.mid(i);
                break;
            }
            name.unmatched.append(int(i));
            ++i;
            continue;
        }
        if (name.slots.size() == NameComposer::kSlots) {
            name.truncated = true;
            break;
        }
        const QByteArray piece = hex ? raw.mid(i, len).toUpper() : raw.mid(i, len);
        const int cell = inv.cellOf.value(piece);
        name.slots.append({codes + table[cell], cell, colour});
        codes.clear();
        i += len;
    }
    if (!name.truncated)
        name.leftover.prepend(codes);
    return name;
}
