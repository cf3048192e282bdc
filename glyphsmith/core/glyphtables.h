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

} // namespace GlyphTables
