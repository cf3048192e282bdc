// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

// The windows are laid out in twips as designed, 15 to the pixel.
inline QRect twips(int left, int top, int width, int height)
{
    const auto px = [](int t) { return (t + 7) / 15; };
    return QRect(px(left), px(top), px(width), px(height));
}
