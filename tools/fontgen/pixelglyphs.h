#pragma once

#include "glyphsheet.h"

// Pieces drawn pixel for pixel rather than as skeletons: they are used as they
// stand, without a brush.
namespace PixelGlyphs {

// Bold glyphs that a 2 x 2 brush would fill in ('&', '@', '*'): kBoldHeight rows,
// the same rows a skeleton covers after the brush (capitals 0..10).
inline constexpr int kBoldHeight = 14;
const GlyphSet &boldOverrides();

// Small symbols for the low codes of the game fonts, bold, kBoldHeight rows.
enum Symbol {
    Dot = 0x100,
    Diamond,
    HollowDiamond,
    Box,
    Square,
    Ring,
    Disc,
    TriangleUp,
    TriangleDown,
    TriangleLeft,
    TriangleRight,
    Cross,
    Plus,
    Star,
    Heart,
    ArrowLeft,
    ArrowRight,
    ArrowUp,
    ArrowDown,
};
const GlyphSet &symbols();

// Accents for the plain fonts, composed onto base letters. Each is kAccentHeight
// rows; its ink sits in the top rows.
inline constexpr int kAccentHeight = 3;
enum Accent {
    Grave = 0x200,
    Acute,
    Circumflex,
    Tilde,
    Diaeresis,
    RingAbove,
    Caron,
    Cedilla,
    Macron
};
const GlyphSet &accents();

// A 3 x 5 alphabet (capitals and digits 1..4) for the control-code pictures.
inline constexpr int kMiniHeight = 5;
const GlyphSet &miniLetters();

} // namespace PixelGlyphs
