#pragma once

#include <QByteArray>
#include <array>

// The four glyph tables and the framing of the outputs. Entry i is the text a
// click on grid cell i appends to the name, as Windows-1252 bytes.
enum class TableFiller { QuakeEngine, Hex, Quake3, Ascii };

using GlyphTable = std::array<QByteArray, 256>;

struct Framing
{
    bool colourCodes = false; // Quake III: the pending colour code goes before a character
    QByteArray prefix;
    QByteArray suffix;
};

namespace GlyphTables {

inline constexpr char kVersion[] = "v6.1";

// " //GLYPHSMITH v6.1": ends every Quake-family command line.
QByteArray markerComment();

const GlyphTable &table(TableFiller filler);
Framing framing(TableFiller filler);

// The grid cell whose glyph shows byte `code` in the filler's font picture, or -1.
// The game fonts hold the glyph of byte n in cell n; the plain-character picture
// starts at code 1.
int cellShowing(TableFiller filler, unsigned char code);

} // namespace GlyphTables
