// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gamefamilies.h"

#include <QByteArray>
#include <QList>

// What the game draws of a raw name: the bytes after its changes, cut to its
// tightest limit, with refusals applied, colour codes taken out and applied,
// hexadecimal pairs decoded. A game without known facts draws the raw name
// unchanged. Each drawn byte picks the glyph of the same number in the mode's font.
struct InGameName
{
    struct Glyph
    {
        uchar byte;
        int colour; // 0..7 (black, red, green, yellow, blue, cyan, magenta, white), 8 OpenArena's
                    // orange; -1: no colours
        int from;   // position in the raw name; -1 for text the game puts in itself
    };
    QList<Glyph> glyphs;
    bool oldNameKept = false;       // the game ignores the name and keeps the previous one,
                                    // which cannot be known here: nothing is drawn
    bool replaced = false;          // the glyphs are the game's own text ("UnnamedPlayer")
    bool connectionRefused = false; // the server turns the player away: nothing is drawn
    int lineBreak = -1; // the script line breaks at this raw byte; the glyphs are what the game
                        // makes of the bytes before it (engines differ on the rest)

    // At connect unless `event` says otherwise: a name the player joins with.
    static InGameName render(const QByteArray &raw, const GameFamily &family, bool quotedLine,
                             NameEvent event = NameEvent::Connect);
};
