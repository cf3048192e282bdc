// SPDX-License-Identifier: GPL-3.0-or-later
#include "gamefamilies.h"

#include <array>

namespace {

// QuakeWorld: the scoreboard draws 15 characters (client.h, the name field of the
// score table); the server copies the name into a 32-byte buffer (sv_main.c); an
// info value must stay under 64 bytes (common.c, Info_SetValueForKey).
constexpr std::array kQuakeWorldLimits{NameLimit{15, "the scoreboard shows"},
                                       NameLimit{31, "the server keeps"},
                                       NameLimit{63, "the player info holds"}};
// Quake II: the game keeps the name in a 16-byte field (g_local.h, netname).
constexpr std::array kQuake2Limits{NameLimit{15, "the game keeps"},
                                   NameLimit{63, "the player info holds"}};
// Hexen II: the host copies at most 15 bytes (host_cmd.c, Host_Name_f).
constexpr std::array kHexen2Limits{NameLimit{15, "the game keeps"}};
// Quake III: the cleaned name lives in a 36-byte buffer, colour codes included
// (g_local.h MAX_NETNAME, g_client.c ClientCleanName).
constexpr std::array kQuake3Limits{NameLimit{35, "the game keeps"}};
// Unreal Tournament 469 scripts: 20 at login (GameInfo.uc), 24 in a deathmatch
// game (DeathMatchPlus.uc), 28 through the name command (PlayerPawn.uc).
constexpr std::array kUnrealLimits{NameLimit{20, "the game keeps at login"},
                                   NameLimit{24, "a deathmatch game keeps"},
                                   NameLimit{28, "the name command keeps"}};

// Families without a configuration folder of ours leave the last five fields empty.
const std::array<GameFamily, 9> kFamilies = {{
    // The client drops bytes 1-13 from its player info and refuses a value with '\'
    // or '"' (the old name stays); the server trims blanks, CR and LF at both ends
    // and names an empty player "unnamed".
    {FamilyId::QuakeWorld,
     "QuakeWorld",
     true,
     kQuakeWorldLimits,
     false,
     false,
     "\\\"",
     Refusal::OldNameKept,
     {},
     DropCodes1To13 | TrimBlanks,
     "unnamed",
     false,
     "q1config",
     "config.cfg",
     "QuakeWorld",
     false,
     true},
    // Any '\', '"' or ';' makes the cvar refuse the whole value; the info string keeps
    // only the low seven bits and drops control codes (q_shared.c, cvar.c).
    {FamilyId::Quake2,
     "Quake II",
     true,
     kQuake2Limits,
     false,
     false,
     "\\\";",
     Refusal::NameRefused,
     {},
     StripHighBit | DropControls,
     nullptr,
     false,
     nullptr,
     nullptr,
     nullptr,
     false,
     false},
    // No public source of the server mods: only the notation is known.
    {FamilyId::Quake2Hex,
     "Quake II hexadecimal mod",
     false,
     {},
     false,
     false,
     {},
     Refusal::NameEndsThere,
     {},
     0,
     nullptr,
     true,
     nullptr,
     nullptr,
     nullptr,
     false,
     false},
    // As Quake: a quote ends the name; '{' cuts it as well (host_cmd.c).
    {FamilyId::Hexen2,
     "Hexen II",
     true,
     kHexen2Limits,
     false,
     false,
     {},
     Refusal::NameEndsThere,
     "{\"",
     0,
     nullptr,
     false,
     nullptr,
     nullptr,
     nullptr,
     false,
     false},
    // The server reads the player info with '%' and 128-255 turned into '.'
    // (msg.c), then drops leading blanks, cuts runs of blanks to three and removes
    // black (g_client.c); '\', ';' or '"' leave the player unnamed.
    {FamilyId::Quake3,
     "Quake III",
     true,
     kQuake3Limits,
     true,
     true,
     "\\;\"",
     Refusal::PlayerUnnamed,
     {},
     HighAndPercentToDot | DropLeadingBlanks | CollapseBlanks | RemoveBlack,
     "UnnamedPlayer",
     false,
     "q3config",
     "q3config.cfg",
     "Quake3",
     true,
     false},
    {FamilyId::Icq,
     "ICQ",
     false,
     {},
     false,
     false,
     {},
     Refusal::NameEndsThere,
     {},
     0,
     nullptr,
     false,
     nullptr,
     nullptr,
     nullptr,
     false,
     false},
    // Only a server emulator's rules are public, not the game's own.
    {FamilyId::StarCraft,
     "StarCraft",
     false,
     {},
     false,
     false,
     {},
     Refusal::NameEndsThere,
     {},
     0,
     nullptr,
     false,
     nullptr,
     nullptr,
     nullptr,
     false,
     false},
    {FamilyId::JumpGate,
     "JumpGate",
     false,
     {},
     false,
     false,
     {},
     Refusal::NameEndsThere,
     {},
     0,
     nullptr,
     false,
     nullptr,
     nullptr,
     nullptr,
     false,
     false},
    // Blanks become underscores (PlayerPawn.uc); a name in use is refused, which
    // depends on the server, not on the name.
    {FamilyId::UnrealTournament,
     "Unreal Tournament",
     true,
     kUnrealLimits,
     false,
     false,
     {},
     Refusal::NameEndsThere,
     {},
     BlanksToUnderscores,
     nullptr,
     false,
     nullptr,
     nullptr,
     nullptr,
     false,
     false},
}};

} // namespace

namespace GameFamilies {

std::span<const GameFamily> families()
{
    return kFamilies;
}

const GameFamily &family(FamilyId id)
{
    for (const GameFamily &f : kFamilies) {
        if (f.id == id)
            return f;
    }
    Q_UNREACHABLE();
}

} // namespace GameFamilies
