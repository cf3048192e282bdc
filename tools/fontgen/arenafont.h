#pragma once

#include "glyphsheet.h"

// The Quake III font: wider letters and digits with cut corners, on the grid of
// the console font (ConsoleFont::kHeight rows, same baseline and x-height). The
// punctuation is the console font's. Keyed by ASCII code, 32..126.
namespace ArenaFont {

const GlyphSet &glyphs();

} // namespace ArenaFont
