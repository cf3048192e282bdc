// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "glyphsheet.h"

// The Hexen II letters: our own serifed, calligraphic designs for ASCII 33..126,
// drawn pixel for pixel (no brush): stems two pixels wide, hairlines and serifs
// one, strokes that run down to the right heavier than those that run down to
// the left. kHeight rows: capitals and ascenders on rows 0..10 (row 10 is the
// baseline), the x-height from row 4, descenders down to row 13.
namespace HexenFont {

inline constexpr int kHeight = 14;

const GlyphSet &glyphs();

} // namespace HexenFont
