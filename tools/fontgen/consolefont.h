#pragma once

#include "glyphsheet.h"

// The console font: our own 1-pixel skeletons of the ASCII characters, the
// Windows-1252 symbols and letters, drawn on a grid of kHeight rows. Capitals
// and ascenders take rows 0..9 (row 9 is the baseline), the x-height starts at
// row 3, descenders reach row 12. Run a brush over a skeleton to get the glyph
// (2 x 2 for the bold Quake look, 2 x 1 for the plain fonts); sheets keep strokes
// at least three pixels apart so a 2 x 2 brush leaves a gap between them.
namespace ConsoleFont {

inline constexpr int kHeight = 13;
inline constexpr int kBaseline = 9;
inline constexpr int kXHeightTop = 3;

// Keyed by the character code (ASCII 32..126 and the Windows-1252 characters
// that are not a base letter plus an accent).
const GlyphSet &glyphs();

} // namespace ConsoleFont
