// SPDX-License-Identifier: GPL-3.0-or-later
#include "gamefamilies.h"

#include <array>

namespace {

// QuakeWorld: the scoreboard draws 15 characters (client.h, MAX_SCOREBOARDNAME);
// the server copies the name into a 32-byte buffer (server.h, sv_main.c). The
// client refuses an info value of 64 bytes or more and keeps the old one
// (common.c, Info_SetValueForStarKey): a refusal, not a cut.
constexpr std::array kQuakeWorldLimits{
    NameLimit{15, "the scoreboard shows"}, NameLimit{31, "the server keeps"},
    NameLimit{63, "the player info holds", true, Refusal::OldNameKept}};
// Quake II: the game keeps the name in a 16-byte field (g_local.h, netname). The
// player info is built afresh from the cvars, and a value of 64 bytes or more is
// left out of it (q_shared.c, Info_SetValueForKey): the name goes missing.
constexpr std::array kQuake2Limits{
    NameLimit{15, "the game keeps"},
    NameLimit{63, "the player info holds", true, Refusal::NameDropped}};
// Hexen II: the host copies at most 15 bytes (host_cmd.c, Host_Name_f).
constexpr std::array kHexen2Limits{NameLimit{15, "the game keeps"}};
// Quake III: the cleaned name lives in a 36-byte buffer, colour codes included
// (g_local.h MAX_NETNAME, g_client.c ClientCleanName).
constexpr std::array kQuake3Limits{NameLimit{35, "the game keeps"}};
// Unreal Tournament 469 scripts: 20 at login (GameInfo.uc), 24 in a deathmatch
// game (DeathMatchPlus.uc), 28 through the name command (PlayerPawn.uc).
constexpr std::array kUnrealLimits{NameLimit{20, "at login the game keeps"},
                                   NameLimit{24, "a deathmatch game keeps"},
                                   NameLimit{28, "the name command keeps"}};

// Rows leave unset what is not known or not used.
const std::array<GameFamily, 9> kFamilies = {{
    // The client drops bytes 1-13 from its player info and refuses a value with '\'
    // or '"' (the old name stays); the server trims blanks, CR and LF at both ends
    // and names an empty player, or one called "console", "unnamed".
    {.id = FamilyId::QuakeWorld,
     .name = "QuakeWorld",
     .known = true,
     .limits = kQuakeWorldLimits,
     .refused = "\\\"",
     .refusal = Refusal::OldNameKept,
     .changes = DropCodes1To13 | TrimBlanks,
     .emptyName = "unnamed",
     .reservedName = "console",
     .fontEngine = GameFont::Engine::Quake,
     .configKey = "q1config",
     .quickSaveFile = "config.cfg",
     .browserSubkey = "QuakeWorld",
     .quickSaveHint = true},
    // Any '\', '"' or ';' makes the cvar refuse the whole value; the info string keeps
    // only the low seven bits and drops control codes (q_shared.c, cvar.c).
    {.id = FamilyId::Quake2,
     .name = "Quake II",
     .known = true,
     .limits = kQuake2Limits,
     .refused = "\\\";",
     .refusal = Refusal::NameRefused,
     .changes = StripHighBit | DropControls,
     .fontEngine = GameFont::Engine::Quake2},
    // No public source of the server mods: only the notation is known.
    {.id = FamilyId::Quake2Hex,
     .name = "Quake II hexadecimal mod",
     .hexPairs = true,
     .fontEngine = GameFont::Engine::Quake2},
    // As Quake, and '{' cuts the name (host_cmd.c). A quote ends the name only
    // because it closes the quoted word of the script line: the check reports it
    // as breaking the line.
    {.id = FamilyId::Hexen2,
     .name = "Hexen II",
     .known = true,
     .limits = kHexen2Limits,
     .cutAt = "{",
     .fontEngine = GameFont::Engine::Hexen2},
    // The client leaves a name with '\', ';' or '"' out of its player info (q_shared.c,
    // Info_SetValueForKey), so the game sees none; the server reads the player info
    // with '%' and 128-255 turned into '.' (msg.c), then drops leading blanks, cuts
    // runs of blanks to three and removes black (g_client.c, ClientCleanName).
    {.id = FamilyId::Quake3,
     .name = "Quake III",
     .known = true,
     .limits = kQuake3Limits,
     .colourCodes = true,
     .coloursCount = true,
     .refused = "\\;\"",
     .refusal = Refusal::PlayerUnnamed,
     .changes = HighAndPercentToDot | DropLeadingBlanks | CollapseBlanks | RemoveBlack,
     .emptyName = "UnnamedPlayer",
     .fontEngine = GameFont::Engine::Quake3,
     .configKey = "q3config",
     .quickSaveFile = "q3config.cfg",
     .browserSubkey = "Quake3",
     .profileBeforeScript = true},
    {.id = FamilyId::Icq, .name = "ICQ"},
    // Only a server emulator's rules are public, not the game's own.
    {.id = FamilyId::StarCraft, .name = "StarCraft"},
    {.id = FamilyId::JumpGate, .name = "JumpGate"},
    // Blanks become underscores (PlayerPawn.uc); a name in use is refused, which
    // depends on the server, not on the name.
    {.id = FamilyId::UnrealTournament,
     .name = "Unreal Tournament",
     .known = true,
     .limits = kUnrealLimits,
     .changes = BlanksToUnderscores},
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
