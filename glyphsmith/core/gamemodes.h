#pragma once

#include "gamefamilies.h"
#include "glyphtables.h"

#include <QStringList>
#include <span>

// The eleven modes and the eight Quake III colours, as data.
enum class ModeId {
    QuakeWorld,
    QuakeWorldMod,
    Quake2,
    RivCtf,
    Hexen2,
    Hexen2Mod,
    Icq,
    Quake3,
    StarCraft,
    JumpGate,
    UnrealTournament,
};

struct ModeInfo
{
    ModeId id;
    const char *objectName; // the menu action's objectName ("QuakeWorld", "Q3A")
    const char *caption;    // the menu item's text
    TableFiller filler;
    const char *picture;   // below the program folder; nullptr: the user picks a file
    const char *label;     // the mode caption ("Mode: ...")
    FamilyId family;       // the game whose facts apply to the name
    bool setsConfigFamily; // QuickSave and the profile save use this family's folder
                           // from now on; other modes keep the last one
    bool quickSave;        // QuickSave enabled after entry
    bool saveName;         // Save Name and Save Name in GameSpy enabled after entry
};

struct ColourInfo
{
    const char *item;    // list text ("White")
    const char *code;    // "^7"
    const char *picture; // below the program folder
    int gameIndex;       // the colour the game draws for it, 0 (black) to 7 (white)
    unsigned swatch;     // that colour as 0xRRGGBB
};

namespace GameModes {

std::span<const ModeInfo> modes(); // in menu order
const ModeInfo &mode(ModeId id);
std::span<const ColourInfo> colours(); // list order, index 0..7
// The list entry of the game's colour 0..7 (black, red, green, yellow, blue,
// cyan, magenta, white); nullptr for anything else.
const ColourInfo *colourForGameIndex(int gameIndex);

// The MOD modes' open dialog.
inline constexpr char kOpenTitle[] = "Open";
QStringList modFilters();

} // namespace GameModes
