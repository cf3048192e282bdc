#include "gamemodes.h"

#include <array>

namespace {

using F = TableFiller;

// Menu order. JumpGate has no console command to run a saved name line, so its
// save commands stay off.
constexpr std::array<ModeInfo, 11> kModes = {{
    {ModeId::QuakeWorld, "QuakeWorld", "QuakeWorld", F::QuakeEngine, "qw/quakeworld.gif",
     "Mode: Quake (1)/QuakeWorld", FamilyId::QuakeWorld, true, true, true},
    {ModeId::QuakeWorldMod, "QuakeWorldMOD", "QuakeWorld MOD", F::QuakeEngine, nullptr,
     "Mode: Quake (1)/QuakeWorld MOD", FamilyId::QuakeWorld, false, false, true},
    {ModeId::Quake2, "Quake2", "Quake2", F::QuakeEngine, "q2/quake2.gif",
     "Mode: Quake2 (ASCII Standard)", FamilyId::Quake2, false, false, true},
    {ModeId::RivCtf, "RivCTFandVikingServerMOD", "RivCTF/Viking Server MOD", F::Hex,
     "q2/quake2.gif", "Mode: Quake2 (Hexadecimal Standard) RivCTF & Viking Server MOD",
     FamilyId::Quake2Hex, false, false, true},
    {ModeId::Hexen2, "Hexen2", "Hexen II", F::QuakeEngine, "hex/hexen.gif", "Mode: Hexen II",
     FamilyId::Hexen2, false, false, true},
    {ModeId::Hexen2Mod, "Hexen2MOD", "Hexen II MOD", F::QuakeEngine, nullptr, "Mode: Hexen II MOD",
     FamilyId::Hexen2, false, false, true},
    {ModeId::Icq, "ICQ", "ICQ", F::Ascii, "generic/ascii.gif",
     "Mode: ICQ (Instant Messenger Software)", FamilyId::Icq, false, false, true},
    {ModeId::Quake3, "Q3A", "Quake3: Arena/Q3Demo", F::Quake3, "q3a/q3-white.gif",
     "Mode: Quake III: Arena", FamilyId::Quake3, true, true, true},
    {ModeId::StarCraft, "StarCraft", "StarCraft", F::Ascii, "generic/ascii.gif", "Mode: StarCraft",
     FamilyId::StarCraft, false, false, true},
    {ModeId::JumpGate, "JumpGate", "JumpGate", F::QuakeEngine, "jumpgate/jumpgate.gif",
     "Mode: JumpGate - ASCII Basic", FamilyId::JumpGate, false, false, false},
    {ModeId::UnrealTournament, "UnrealTournament", "Unreal Tournament", F::Ascii,
     "generic/ascii.gif", "Mode: Unreal Tournament", FamilyId::UnrealTournament, false, false,
     true},
}};

constexpr std::array<ColourInfo, 8> kColours = {{
    {"White", "^7", "q3a/q3-white.gif", 7, 0xFFFFFF},
    {"Red", "^1", "q3a/q3-red.gif", 1, 0xFF0000},
    {"Black", "^^0", "q3a/q3-black.gif", 0, 0x000000},
    {"Magenta", "^6", "q3a/q3-magenta.gif", 6, 0xFF00FF},
    {"Green", "^2", "q3a/q3-green.gif", 2, 0x00FF00},
    {"Yellow", "^3", "q3a/q3-yellow.gif", 3, 0xFFFF00},
    {"Blue", "^4", "q3a/q3-blue.gif", 4, 0x0000FF},
    {"Cyan", "^5", "q3a/q3-cyan.gif", 5, 0x00FFFF},
}};

} // namespace

namespace GameModes {

std::span<const ModeInfo> modes()
{
    return kModes;
}

const ModeInfo &mode(ModeId id)
{
    for (const ModeInfo &m : kModes) {
        if (m.id == id)
            return m;
    }
    Q_UNREACHABLE();
}

std::span<const ColourInfo> colours()
{
    return kColours;
}

const ColourInfo *colourForGameIndex(int gameIndex)
{
    for (const ColourInfo &c : kColours) {
        if (c.gameIndex == gameIndex)
            return &c;
    }
    return nullptr;
}

QStringList modFilters()
{
    return {QStringLiteral("Bitmaps (*.Bmp)"), QStringLiteral("GIF Files (*.Gif)"),
            QStringLiteral("JPEG Files (*.Jpg)"),
            QStringLiteral("Game Files (*.pak *.pk3 *.wad *.pcx *.tga *.lmp)")};
}

} // namespace GameModes
