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

constexpr std::size_t kFamilyCount = 9;

// MVDSV keeps 31 bytes (server.h, CLIENT_NAME_LEN 32); ezQuake's scoreboard draws
// 15 of them (MAX_SCOREBOARDNAME 16 in its protocol header; cl_parse.c).
constexpr std::array kMvdsvLimits{NameLimit{15, "ezQuake's scoreboard shows"},
                                  NameLimit{31, "the server keeps"}};

// MVDSV 0.35, measured with KTX 1.42 on loopback and read in its source, in the
// order the server meets them:
constexpr EventRule kMvdsvRules[] = {
    // The network reading skips byte 255 in every string (common.c, MSG_ReadString).
    {EventRule::Match::Bytes, "\xff", 0, Refusal::ByteDropped, Refusal::ByteDropped},
    // The connection packet is read as one line (MSG_ReadStringLine); its player
    // info is one quoted word. A change with either is refused.
    {EventRule::Match::Bytes, "\n\"", 0, Refusal::NameEndsThere, Refusal::OldNameKept},
    // "&c" or "&r" anywhere in the player info, or a '\' with nothing on one
    // side, refuses the connection (sv_main.c, ValidateUserInfo); setinfo ignores a
    // value with any of them (sv_user.c, Cmd_SetInfo_f).
    {EventRule::Match::Pairs, "&c&r", 0, Refusal::ConnectionRefused, Refusal::OldNameKept},
    {EventRule::Match::Separator, "\\", 0, Refusal::ConnectionRefused, Refusal::OldNameKept},
    {EventRule::Match::Bytes, "\\", 0, Refusal::NameEndsThere, Refusal::OldNameKept},
    // The player info is read into 64-byte values (common.c, Info_Convert); a change
    // of 64 bytes or more is refused (Info_SetStar).
    {EventRule::Match::Longer, "", 63, Refusal::NameEndsThere, Refusal::OldNameKept},
    // Info_SetStar refuses these: at connect the player is left without a name, which
    // becomes "unnamed"; a change is ignored.
    {EventRule::Match::Bytes, "$;\r\xdc", 0, Refusal::PlayerUnnamed, Refusal::OldNameKept},
    // SV_ExtractFromUserinfo renames a name holding '#' (the others are gone by now).
    {EventRule::Match::Bytes, "#", 0, Refusal::PlayerUnnamed, Refusal::PlayerUnnamed},
};

// Quakespasm and Ironwail copy 15 bytes (host_cmd.c, Host_Name_f).
constexpr std::array kNetQuakeLimits{NameLimit{15, "the game keeps"}};

// Q2PRO refuses a name cvar of 64 bytes or more (cvar.c, validate_info_cvar).
constexpr std::array kQ2proLimits{
    NameLimit{15, "the game keeps"},
    NameLimit{63, "the player info holds", true, Refusal::NameRefused}};

// The families' files, each with the rules of the original game (for Quake III,
// ioquake3's game code, which keeps the original's rules). Rows leave unset what
// is not known or not used. Indexed by FamilyId.
std::array<GameFamily, kFamilyCount> originals()
{
    return {{
        // The client drops bytes 1-13 from its player info and refuses a value with '\'
        // or '"' (the old name stays); the server trims blanks, CR and LF at both ends
        // and names an empty player, or one called "console", "unnamed".
        {.id = FamilyId::QuakeWorld,
         .name = "QuakeWorld on id's server",
         .known = true,
         .limits = kQuakeWorldLimits,
         .refused = "\\\"",
         .refusal = Refusal::OldNameKept,
         .changes = DropCodes1To13 | TrimBlanks,
         .emptyName = "unnamed",
         .reservedName = "console",
         .configKey = "q1config",
         .quickSaveFile = "config.cfg",
         .browserSubkey = "QuakeWorld",
         .quickSaveHint = true,
         .ezQuakeConsoleLine = true,
         .fontEngine = GameFont::Engine::Quake},
        // Any '\', '"' or ';' makes the cvar refuse the whole value; the info string keeps
        // only the low seven bits and drops control codes (q_shared.c, cvar.c). Yamagi
        // Quake II does the same today (cvar.c, Cvar_InfoValidate; shared.c,
        // Q_strlcpy_ascii).
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
         .name = "Quake III Arena (ioquake3)",
         .known = true,
         .limits = kQuake3Limits,
         .colourCodes = true,
         .coloursCount = true,
         .refused = "\\;\"",
         .refusal = Refusal::PlayerUnnamed,
         .changes = HighAndPercentToDot | DropLeadingBlanks | CollapseBlanks | RemoveBlack,
         .emptyName = "UnnamedPlayer",
         .highBytesBlankUnquoted = true,
         .configKey = "q3config",
         .quickSaveFile = "q3config.cfg",
         .browserSubkey = "Quake3",
         .profileBeforeScript = true,
         .fontEngine = GameFont::Engine::Quake3},
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
}

// A target's row: the family's files (and everything else the family states) with
// the rules of `rules`, which names every rule field of GameFamily.
GameFamily rulesOf(const GameFamily &family, const GameFamily &rules)
{
    GameFamily row = family;
    row.name = rules.name;
    row.known = rules.known;
    row.actor = rules.actor;
    row.limits = rules.limits;
    row.colourCodes = rules.colourCodes;
    row.coloursCount = rules.coloursCount;
    row.colourDigitsOnly = rules.colourDigitsOnly;
    row.refused = rules.refused;
    row.refusal = rules.refusal;
    row.eventRules = rules.eventRules;
    row.cutAt = rules.cutAt;
    row.changes = rules.changes;
    row.emptyName = rules.emptyName;
    row.emptyNameNumbered = rules.emptyNameNumbered;
    row.reservedName = rules.reservedName;
    row.hexPairs = rules.hexPairs;
    row.highBytesBlankUnquoted = rules.highBytesBlankUnquoted;
    row.ezQuakeEscapes = rules.ezQuakeEscapes;
    return row;
}

struct Table
{
    std::array<GameFamily, kFamilyCount> defaults;
    std::array<GameFamily, 4> others;
    std::array<GameTarget, kFamilyCount + 4> targets; // by family, the default first
};

std::size_t at(FamilyId id)
{
    return std::size_t(id);
}

Table build()
{
    const std::array<GameFamily, kFamilyCount> original = originals();
    for (std::size_t i = 0; i < original.size(); ++i)
        Q_ASSERT(at(original[i].id) == i);
    Table t;
    t.defaults = original;

    // After MSG reading and the steps of kMvdsvRules, Info_SetStar drops bytes 1-13;
    // the server cuts the name to 31 bytes, then trims blanks, with or without the
    // high bit, at both ends, and names an empty name, or "console" in any case and
    // with any high bits (Q_namecmp), "unnamed" (sv_main.c, SV_ExtractFromUserinfo).
    // ezQuake reads its escapes in the name before it sends it (teamplay.c).
    t.defaults[at(FamilyId::QuakeWorld)] =
        rulesOf(original[at(FamilyId::QuakeWorld)],
                {.name = "QuakeWorld on today's servers",
                 .known = true,
                 .actor = "the server",
                 .limits = kMvdsvLimits,
                 .eventRules = kMvdsvRules,
                 .changes = DropCodes1To13 | TrimBlanks | TrimGoldBlanks | ReservedAnyHighBits,
                 .emptyName = "unnamed",
                 .reservedName = "console",
                 .ezQuakeEscapes = true});

    // The host copies the first 15 bytes; its reader compares a signed char with
    // ' ', so outside quotes 128-255 split the name (common.c, COM_Parse).
    t.others[0] = original[at(FamilyId::QuakeWorld)];
    t.others[1] =
        rulesOf(original[at(FamilyId::QuakeWorld)], {.name = "Quake (Quakespasm, Ironwail)",
                                                     .known = true,
                                                     .limits = kNetQuakeLimits,
                                                     .highBytesBlankUnquoted = true});
    // Q2PRO strips the high bit before it looks for '\', '"' and ';', so their
    // high-bit twins are refused too (shared.c, Info_SubValidate); the player info
    // keeps the low seven bits of 32-126 (Info_SetValueForKey, Cvar_BitInfo).
    t.others[2] = rulesOf(original[at(FamilyId::Quake2)], {.name = "Quake II (Q2PRO)",
                                                           .known = true,
                                                           .limits = kQ2proLimits,
                                                           .refused = "\\\";\xdc\xa2\xbb",
                                                           .refusal = Refusal::NameRefused,
                                                           .changes = StripHighBit | DropControls});
    // OpenArena 0.8.8's game code (g_client.c, ClientCleanName): as ioquake3, but
    // black stays unless no letter or digit stands outside it, then every colour code
    // goes (Q_CleanStr); only ^0-^8 are colours (q_shared.h, Q_IsColorString); an
    // empty or colour-only name, or none sent, is "Nameless" and the slot number.
    t.others[3] = rulesOf(
        original[at(FamilyId::Quake3)],
        {.name = "OpenArena",
         .known = true,
         .limits = kQuake3Limits,
         .colourCodes = true,
         .coloursCount = true,
         .colourDigitsOnly = true,
         .refused = "\\;\"",
         .refusal = Refusal::PlayerUnnamed,
         .changes = HighAndPercentToDot | DropLeadingBlanks | CollapseBlanks | CleanIfAllBlack,
         .emptyName = "Nameless",
         .emptyNameNumbered = true,
         .highBytesBlankUnquoted = true});

    const auto of = [&](FamilyId id) { return &t.defaults[at(id)]; };
    t.targets = {{
        {"mvdsv", of(FamilyId::QuakeWorld),
         "MVDSV 0.35 with KTX 1.42, which nearly every QuakeWorld server runs, at connect and "
         "on a name change; ezQuake's scoreboard and escapes"},
        {"idqw", &t.others[0], "id Software's QuakeWorld client and server"},
        {"netquake", &t.others[1], "Quakespasm and Ironwail (Quake, NetQuake protocol)"},
        {"quake2", of(FamilyId::Quake2), "id Software's Quake II and Yamagi Quake II"},
        {"q2pro", &t.others[2], "Q2PRO"},
        {"quake2hex", of(FamilyId::Quake2Hex), "the Quake II hexadecimal-name server mods"},
        {"hexen2", of(FamilyId::Hexen2), "Hexen II (uHexen2)"},
        {"ioquake3", of(FamilyId::Quake3), "ioquake3 with its own Quake III Arena game code"},
        {"openarena", &t.others[3], "OpenArena 0.8.8's game code"},
        {"icq", of(FamilyId::Icq), "ICQ"},
        {"starcraft", of(FamilyId::StarCraft), "StarCraft"},
        {"jumpgate", of(FamilyId::JumpGate), "JumpGate"},
        {"unreal", of(FamilyId::UnrealTournament), "Unreal Tournament 469"},
    }};
    return t;
}

const Table &table()
{
    static const Table t = build();
    return t;
}

} // namespace

namespace GameFamilies {

std::span<const GameFamily> families()
{
    return table().defaults;
}

const GameFamily &family(FamilyId id)
{
    return table().defaults[at(id)];
}

std::span<const GameTarget> targets(FamilyId id)
{
    const auto &all = table().targets;
    std::size_t first = 0;
    while (first < all.size() && all[first].rules->id != id)
        ++first;
    std::size_t end = first;
    while (end < all.size() && all[end].rules->id == id)
        ++end;
    Q_ASSERT(end > first);
    return std::span<const GameTarget>(all).subspan(first, end - first);
}

const GameFamily &family(FamilyId id, QByteArrayView targetKey)
{
    for (const GameTarget &t : targets(id)) {
        if (targetKey == QByteArrayView(t.key))
            return *t.rules;
    }
    return family(id);
}

} // namespace GameFamilies
