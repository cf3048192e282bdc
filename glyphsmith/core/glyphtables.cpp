#include "glyphtables.h"

#include <initializer_list>
#include <utility>

namespace {

QByteArray code(int c)
{
    return QByteArray(1, static_cast<char>(c));
}

// Entry i is code i, then the listed substitutes.
GlyphTable identityWith(std::initializer_list<std::pair<int, QByteArray>> exceptions)
{
    GlyphTable t;
    for (int i = 0; i < 256; ++i)
        t[i] = code(i);
    for (const auto &[i, entry] : exceptions)
        t[i] = entry;
    return t;
}

GlyphTable quakeEngineTable()
{
    // Codes the engines cannot take in a name are replaced by look-alikes.
    return identityWith({{0, code(5)},
                         {9, code(10)},
                         {10, code(34)},
                         {13, code(14)},
                         {26, code(154)},
                         {96, code(39)},
                         {127, code(166)},
                         {160, code(32)},
                         {162, code(34)},
                         {254, code(166)},
                         {255, code(160)}});
}

GlyphTable hexTable()
{
    GlyphTable t;
    for (int i = 0; i < 256; ++i)
        t[i] = QByteArray::number(i, 16).toUpper().rightJustified(2, '0');
    return t;
}

GlyphTable quake3Table()
{
    const QByteArray blank(" ");
    return identityWith({{0, blank},   {4, code(3)}, {5, blank},   {9, QByteArray("   ")},
                         {10, blank},  {12, blank},  {13, blank},  {22, blank},
                         {27, blank},  {34, "~"},    {58, blank},  {95, blank},
                         {96, "'"},    {132, blank}, {137, blank}, {138, blank},
                         {140, blank}, {155, blank}, {160, blank}, {255, blank}});
}

GlyphTable asciiTable()
{
    GlyphTable t;
    for (int i = 0; i < 255; ++i)
        t[i] = code(i + 1);
    t[255] = " ";
    return t;
}

} // namespace

namespace GlyphTables {

QByteArray markerComment()
{
    return QByteArray(" //GLYPHSMITH ") + kVersion;
}

const GlyphTable &table(TableFiller filler)
{
    // Each table is built the first time its mode is entered, not all at start-up.
    switch (filler) {
    case TableFiller::QuakeEngine: {
        static const GlyphTable quake = quakeEngineTable();
        return quake;
    }
    case TableFiller::Hex: {
        static const GlyphTable hex = hexTable();
        return hex;
    }
    case TableFiller::Quake3: {
        static const GlyphTable q3 = quake3Table();
        return q3;
    }
    case TableFiller::Ascii:
        break;
    }
    static const GlyphTable ascii = asciiTable();
    return ascii;
}

int cellShowing(TableFiller filler, unsigned char code)
{
    if (filler == TableFiller::Ascii)
        return code == 0 ? -1 : code - 1;
    return code;
}

Framing framing(TableFiller filler)
{
    const QByteArray prefix("name \"");
    switch (filler) {
    case TableFiller::QuakeEngine:
        return {false, prefix, '"' + markerComment()};
    case TableFiller::Hex:
        return {false, prefix, "\"u" + markerComment()};
    case TableFiller::Quake3:
        return {true, prefix, "^7\"" + markerComment()};
    case TableFiller::Ascii:
        break;
    }
    return {false, {}, {}};
}

} // namespace GlyphTables
