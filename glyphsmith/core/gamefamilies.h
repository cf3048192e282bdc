// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gamefont.h"

#include <QByteArray>
#include <optional>
#include <span>

// What each game does with a player name, and where its files and profiles live:
// one row per game family the modes name. Every place that asks "which game?"
// asks the row. A row only states facts read from the engine's public source or
// seen in the running engine; where nothing is known, it says so (known == false)
// and the name check stays silent about that game.
enum class FamilyId {
    QuakeWorld, // Quake and QuakeWorld
    Quake2,
    Quake2Hex, // the Quake II server mods that take names as hexadecimal pairs
    Hexen2,
    Quake3,
    Icq,
    StarCraft,
    JumpGate,
    UnrealTournament,
};

// What the game does to a name it will not take.
enum class Refusal {
    NameEndsThere, // the name is cut before the byte
    OldNameKept,   // the change is ignored: the player keeps the previous name
    NameRefused,   // the whole new name is refused (the previous one stays)
    PlayerUnnamed, // the player is shown as the row's emptyName ("UnnamedPlayer")
    NameDropped,   // the player info loses the name: the player has an empty name
};

// A point where the game stops taking the name at `bytes` bytes: it cuts the
// name there, or, where `refuses` is set, refuses a longer name as `refusal` says.
struct NameLimit
{
    int bytes = 0;
    const char *where = nullptr; // "the scoreboard shows", "the server keeps", "the game keeps"
    bool refuses = false;
    Refusal refusal = Refusal::OldNameKept;
};

// Changes the game makes without a word. Byte changes come first, then the
// trim, then the cleaning of blanks and colour codes, in the engines' order.
enum Change : unsigned {
    StripHighBit = 1u << 0,        // 128-255 become 0-127
    DropControls = 1u << 1,        // codes under 32 and 127 dropped (after StripHighBit)
    DropCodes1To13 = 1u << 2,      // bytes 1 to 13 dropped
    TrimBlanks = 1u << 3,          // blanks, CR and LF trimmed at both ends
    HighAndPercentToDot = 1u << 4, // 128-255 and '%' arrive as '.'
    DropLeadingBlanks = 1u << 5,
    CollapseBlanks = 1u << 6, // more than three blanks in a row cut to three
    RemoveBlack = 1u << 7,    // colour codes selecting black are removed
    BlanksToUnderscores = 1u << 8,
};

struct GameFamily
{
    FamilyId id = FamilyId::Icq;
    const char *name = nullptr; // as the player knows it: "Quake III"
    bool known = false;         // false: no public facts; the check says nothing about the name

    // Smallest first; empty when unknown. Colour codes count in every limit of a
    // game that has them (coloursCount), though they draw nothing.
    std::span<const NameLimit> limits = {};
    bool colourCodes = false;  // "^" + a letter or digit selects a colour (Quake III)
    bool coloursCount = false; // colour codes count against the limits

    QByteArray refused = {}; // bytes the game refuses in a name, each with `refusal`
    Refusal refusal = Refusal::NameEndsThere;
    QByteArray cutAt = {}; // bytes at which the name ends (the bytes and all after them go)
    unsigned changes = 0;  // Change flags
    const char *emptyName =
        nullptr; // what an empty (or colour-only) name becomes; nullptr: nothing known
    const char *reservedName = nullptr; // a name (any case) the game also replaces by emptyName

    bool hexPairs = false; // the raw name is hexadecimal pairs that the server turns into bytes

    // Whose files and search order the game's own font is read by; none for games
    // whose data this program does not read.
    std::optional<GameFont::Engine> fontEngine = std::nullopt;

    // The game's configuration folder and files, for families the program writes
    // scripts for; nullptr (and false) elsewhere.
    const char *configKey = nullptr; // the setting that holds the folder: "q1config", "q3config"
    const char *quickSaveFile = nullptr; // the default script in that folder
    const char *browserSubkey =
        nullptr;                      // the game-browser profile's subkey: "QuakeWorld", "Quake3"
    bool profileBeforeScript = false; // the profile save stores the profile, then writes the script
    bool quickSaveHint = false;       // QuickSave adds the "manually execute" hint after saving
};

namespace GameFamilies {

std::span<const GameFamily> families();
const GameFamily &family(FamilyId id);

} // namespace GameFamilies
