// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gamefont.h"

#include <QByteArray>
#include <QByteArrayView>
#include <optional>
#include <span>

// What each game does with a player name, and where its files and profiles live:
// one row per game family the modes name, and per family the servers and clients
// players use today where they differ (its targets). Every place that asks "which
// game?" asks the row. A row only states facts read from the engine's public source or
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
    NameEndsThere,     // the name is cut before the byte
    OldNameKept,       // the change is ignored: the player keeps the previous name
    NameRefused,       // the whole new name is refused (the previous one stays)
    PlayerUnnamed,     // the player is shown as the row's emptyName ("UnnamedPlayer")
    NameDropped,       // the player info loses the name: the player has an empty name
    ConnectionRefused, // the server turns the player away
    ByteDropped,       // only the byte goes; the rest of the name stays
};

// When the server reads the name: in the player info the player connects with,
// or in a change of name while connected (QuakeWorld's "setinfo name").
enum class NameEvent { Connect, Change };

// One step of a server's reading of a name where connect and change may differ.
// A row's steps run in its order; a cut shortens the name for the steps after it,
// and a refusal, a rename or a refused connection ends the reading.
struct EventRule
{
    enum class Match {
        Bytes,     // any of `bytes` (a C string) in the name
        Pairs,     // any two-byte sequence of `bytes`, read in pairs: "&c&r"
        Separator, // bytes[0] at the start or the end of the name, or twice in a row
        Longer,    // a name of more than `count` bytes: the step acts at byte `count`
    };
    Match match;
    const char *bytes;
    int count;
    Refusal connect; // NameEndsThere, ByteDropped, PlayerUnnamed, OldNameKept or ConnectionRefused
    Refusal change;
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
    TrimGoldBlanks = 1u << 9,       // with TrimBlanks: the blank with the high bit (160) too
    ReservedAnyHighBits = 1u << 10, // reservedName matches with high bits set on any letter
    CleanIfAllBlack = 1u << 11,     // no letter or digit outside black: every colour code goes
};

// The name rules of one game as players meet it, and the files of its family. A
// family's targets (the servers and clients of today, and the original) share the
// family's files and differ in the rules; GameFamilies::family(id) is the default
// target's row.
struct GameFamily
{
    FamilyId id = FamilyId::Icq;

    // The rules: what each target states of its own (rulesOf() in the .cpp copies them).
    const char *name = nullptr;     // as the check line names it: "Quake III Arena (ioquake3)"
    bool known = false;             // false: no public facts; the check says nothing about the name
    const char *actor = "the game"; // who does what the check reports: "the server"

    // Smallest first; empty when unknown. Colour codes count in every limit of a
    // game that has them (coloursCount), though they draw nothing. The widest limit
    // that cuts is the name the game holds; narrower ones only draw less of it.
    std::span<const NameLimit> limits = {};
    bool colourCodes = false;      // "^" + a letter or digit selects a colour (Quake III)
    bool coloursCount = false;     // colour codes count against the limits
    bool colourDigitsOnly = false; // only "^0".."^8" select a colour (8: orange); other carets draw

    QByteArray refused = {}; // bytes the game refuses in a name, each with `refusal`
    Refusal refusal = Refusal::NameEndsThere;
    std::span<const EventRule> eventRules = {}; // before everything else, in this order
    QByteArray cutAt = {}; // bytes at which the name ends (the bytes and all after them go)
    unsigned changes = 0;  // Change flags
    const char *emptyName =
        nullptr; // what an empty (or colour-only) name becomes; nullptr: nothing known
    bool emptyNameNumbered = false;     // the game adds the player's slot number to emptyName
    const char *reservedName = nullptr; // a name (any case) the game also replaces by emptyName

    bool hexPairs = false; // the raw name is hexadecimal pairs that the server turns into bytes
    // Outside quotes the script reader takes 128-255 for blanks.
    bool highBytesBlankUnquoted = false;
    bool ezQuakeEscapes = false; // the client (ezQuake) reads "$" and "^" escapes in the name

    // The family: the same for all its targets.
    // The game's configuration folder and files, for families the program writes
    // scripts for; nullptr (and false) elsewhere.
    const char *configKey = nullptr; // the setting that holds the folder: "q1config", "q3config"
    const char *quickSaveFile = nullptr; // the default script in that folder
    const char *browserSubkey =
        nullptr;                      // the game-browser profile's subkey: "QuakeWorld", "Quake3"
    bool profileBeforeScript = false; // the profile save stores the profile, then writes the script
    bool quickSaveHint = false;       // QuickSave adds the "manually execute" hint after saving
    bool ezQuakeConsoleLine = false;  // players type names in ezQuake's console escapes
    // Whose files and search order the game's own font is read by; none for games
    // whose data this program does not read.
    std::optional<GameFont::Engine> fontEngine = std::nullopt;
};

// A server or client of today, or the original game, whose handling of a name the
// check follows.
struct GameTarget
{
    const char *key;         // stable, for the settings file: "mvdsv", "idqw", "openarena"
    const GameFamily *rules; // the full row; rules->name is the target's name
    const char *follows;     // the programs and versions it follows, for Configure and help
};

namespace GameFamilies {

// One row per family: the default target's.
std::span<const GameFamily> families();
const GameFamily &family(FamilyId id);

// At least one per family, the default first.
std::span<const GameTarget> targets(FamilyId id);
// The row of the family's target with `targetKey`; an unknown or empty key gives
// the default target's row.
const GameFamily &family(FamilyId id, QByteArrayView targetKey);

} // namespace GameFamilies
