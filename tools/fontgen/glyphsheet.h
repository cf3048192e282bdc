#pragma once

#include "bitmap.h"

#include <map>
#include <string_view>
#include <vector>

// Glyphs are drawn in the sources as sheets: a block of text rows in which each
// glyph is one whitespace-separated token per row ('#' ink, '.' empty), so a
// row of glyphs reads like a strip of the font. A glyph's width is the length of
// its tokens; every row of the block holds one token per glyph.
struct Sheet
{
    std::vector<int> codes; // the key of each glyph, left to right
    std::string_view rows;  // the block; blank lines are ignored
};

using GlyphSet = std::map<int, Bitmap>;

namespace GlyphSheet {

// The keys of an ASCII or Windows-1252 string, one per byte.
std::vector<int> codes(std::string_view bytes);

// Every glyph of every sheet, each `height` rows tall. A malformed sheet is our
// own bug: it stops the program with a message naming the sheet and the row.
GlyphSet parse(const std::vector<Sheet> &sheets, int height);

} // namespace GlyphSheet
