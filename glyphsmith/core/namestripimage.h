#pragma once

#include <QImage>

class NameComposer;

// The name strip as the user sees it: 25 black glyph boxes with their glyphs, the
// row of slot selectors under them and the yellow marker. The widget paints this
// image and the bitmap export copies from it, so both always agree.
namespace NameStripImage {

inline constexpr int kWidth = 411; // the strip container, pixels
inline constexpr int kHeight = 26;
inline constexpr int kBoxSize = 17; // glyph box; boxes overlap their right neighbour by 1
inline constexpr int kSelectorTop = 16;
inline constexpr int kSelectorHeight = 9;

QImage render(const NameComposer &composer);

} // namespace NameStripImage
