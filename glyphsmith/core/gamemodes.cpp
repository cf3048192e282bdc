#include "gamemodes.h"

#include <array>

namespace {

using F = TableFiller;

// Menu order. JumpGate has no console command to run a saved name line, so its
// save commands stay off.
constexpr std::array<ModeInfo, 11> kModes = {{
    {ModeId::QuakeWorld, "QuakeWorld", "QuakeWorld", F::QuakeEngine, "qw/quakeworld.gif",
     "Mode: Quake (1)/QuakeWorld", "q1config", true, true},
    {ModeId::QuakeWorldMod, "QuakeWorldMOD", "QuakeWorld MOD", F::QuakeEngine, nullptr,
     "Mode: Quake (1)/QuakeWorld MOD", nullptr, false, true},
    {ModeId::Quake2, "Quake2", "Quake2", F::QuakeEngine, "q2/quake2.gif",
     "Mode: Quake2 (ASCII Standard)", nullptr, false, true},
    {ModeId::RivCtf, "RivCTFandVikingServerMOD", "RivCTF/Viking Server MOD", F::Hex,
     "q2/quake2.gif", "Mode: Quake2 (Hexadecimal Standard) RivCTF & Viking Server MOD", nullptr,
     false, true},
    {ModeId::Hexen2, "Hexen2", "Hexen II", F::QuakeEngine, "hex/hexen.gif", "Mode: Hexen II",
     nullptr, false, true},
    {ModeId::Hexen2Mod, "Hexen2MOD", "Hexen II MOD", F::QuakeEngine, nullptr, "Mode: Hexen II MOD",
     nullptr, false, true},
    {ModeId::Icq, "ICQ", "ICQ", F::Ascii, "generic/ascii.gif",
     "Mode: ICQ (Instant Messenger Software)", nullptr, false, true},
    {ModeId::Quake3, "Q3A", "Quake3: Arena/Q3Demo", F::Quake3, "q3a/q3-white.gif",
     "Mode: Quake III: Arena", "q3config", true, true},
    {ModeId::StarCraft, "StarCraft", "StarCraft", F::Ascii, "generic/ascii.gif", "Mode: StarCraft",
     nullptr, false, true},
    {ModeId::JumpGate, "JumpGate", "JumpGate", F::QuakeEngine, "jumpgate/jumpgate.gif",
     "Mode: JumpGate - ASCII Basic", nullptr, false, false},
    {ModeId::UnrealTournament, "UnrealTournament", "Unreal Tournament", F::Ascii,
     "generic/ascii.gif", "Mode: Unreal Tournament", nullptr, false, true},
}};

constexpr std::array<ColourInfo, 8> kColours = {{
    {"White", "^7", "q3a/q3-white.gif"},
    {"Red", "^1", "q3a/q3-red.gif"},
    {"Black", "^^0", "q3a/q3-black.gif"},
    {"Magenta", "^6", "q3a/q3-magenta.gif"},
    {"Green", "^2", "q3a/q3-green.gif"},
    {"Yellow", "^3", "q3a/q3-yellow.gif"},
    {"Blue", "^4", "q3a/q3-blue.gif"},
    {"Cyan", "^5", "q3a/q3-cyan.gif"},
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

QStringList modFilters()
{
    return {QStringLiteral("Bitmaps (*.Bmp)"), QStringLiteral("GIF Files (*.Gif)"),
            QStringLiteral("JPEG Files (*.Jpg)")};
}

} // namespace GameModes
