// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "glyphtables.h"

#include <QByteArray>
#include <QList>

// A raw name read back into glyphs: the cells whose table entries yield it, as
// if clicked. Where several cells yield the same text, the cell whose own number
// is that byte wins, else the lowest; a several-byte entry (the Quake III three
// blanks) wins over single bytes, as the composer wrote it. The hexadecimal table
// reads pairs of digits in either case. In Quake III, "^" and a letter or digit
// (as the game reads them) and the colour list's codes ("^^0" for black) are
// colour codes: they go, as written, in front of the next glyph's slot text.
struct DecodedName
{
    struct Slot
    {
        QByteArray text; // what the composer holds for it: colour codes, then the table entry
        int cell = -1;   // 0..255
        int colour = -1; // the game colour 0..7 the glyph is drawn in (Quake III); -1 elsewhere
    };
    QList<Slot> slots;      // at most 25
    QList<int> unmatched;   // raw positions of bytes no cell yields; they are left out
    bool truncated = false; // the name had more than 25 glyphs: the rest is left out
    QByteArray leftover;    // trailing bytes that make no glyph: a colour code with nothing
                            // after it, a lone hexadecimal digit

    static DecodedName decode(const QByteArray &raw, TableFiller filler);
};
