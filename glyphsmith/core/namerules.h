// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gamefamilies.h"

#include <QByteArray>
#include <QList>
#include <QString>

// One thing a game, or the script line, does to a name.
struct NameFinding
{
    enum class Kind {
        OverLimit,
        Refused,
        Changed,
        ScriptBreak, // the script line: it breaks, or it must quote the name
        Escape,      // the client reads an escape in the name and sends another byte
    };
    Kind kind;
    int position; // the byte in the raw name, from 0
    QString text; // one short sentence for a tooltip
};

// What a game holds of a raw name, every byte traced back to the raw name.
struct GameName
{
    struct Byte
    {
        char byte;
        int from; // position in the raw name; -1 for text the game puts in itself
    };
    QList<Byte> bytes; // after the game's changes, cut to its tightest limit
    QList<Byte> held;  // what the game (the server) holds: cut at its widest limit instead
    QList<NameFinding> findings; // in the order the script and the game meet them
    int measured = 0; // bytes the game measures against its limits: after its changes, before a cut
    int lineBreak = -1; // where the script line breaks; the game gets only what is before it
    int refusedAt = -1; // the byte (or, for a length, the limit) the game refuses the name for
    Refusal refusal = Refusal::NameEndsThere; // what that refusal does
    bool oldNameKept = false; // the game ignores the new name: what it shows cannot be known here
    bool replaced = false;    // `bytes` is the game's own text (emptyName), not the player's
    int trimmed = 0;          // bytes the game trims at the ends
    QString outcome;          // how the game ended its reading, where it says more than `refusal`:
                              // "the server renames a name holding '$' to "unnamed""
};

// What a server does with a name at one event, as a test compares it with the
// real server's `status` and user info: the bytes it keeps, or its refusal.
struct NameOutcome
{
    enum class Result {
        Kept,              // `name` is what the server holds
        Renamed,           // `name` is the server's own ("unnamed")
        OldNameKept,       // the server ignores the change: the previous name stays
        NoName,            // the player has an empty name
        ConnectionRefused, // the server turns the player away
    };
    Result result = Result::Kept;
    QByteArray name;
};

// The games' handling of a name, step by step in each engine's order, driven by
// the family row. Quake III follows ioquake3: a colour code is '^' and a letter or
// digit, and the name cleaner works as ioquake3's does.
namespace NameRules {

// The smallest limit at which the game cuts the name; nullptr when none is known.
const NameLimit *tightestCut(const GameFamily &family);

// Whether `byte` ends the script line that sets the name: codes 0, 10 and 13
// always, the quote when the name stands in quotes.
bool breaksLine(char byte, bool quotedLine);

// Whether name[i], name[i + 1] is a Quake III colour code.
bool isColourCode(const QByteArray &name, qsizetype i);
// The colour 0..7 (black, red, green, yellow, blue, cyan, magenta, white) that
// "^" + `c` selects.
int colourIndex(char c);
// The same in `family`'s game: OpenArena takes only ^0-^8, and 8 is its orange.
bool isColourCode(const GameFamily &family, const QByteArray &name, qsizetype i);
int colourIndex(const GameFamily &family, char c);

// An empty raw name gives an empty result without findings. Families that are not
// known get the raw name unchanged and only the script-line findings. `event`
// matters only to rows with event rules (QuakeWorld's today's servers).
GameName apply(const QByteArray &raw, const GameFamily &family, bool quotedLine,
               NameEvent event = NameEvent::Connect);

// The game's reading of `sent`, the name as the player info carries it to the
// server: no script line is involved, and every byte up to a code 0 reaches the game. For a
// known family: the bytes the server holds (cut at the widest limit, not at the
// scoreboard's), or what it does instead. An unknown family keeps `sent`.
NameOutcome outcome(const QByteArray &sent, const GameFamily &family, NameEvent event);

} // namespace NameRules
