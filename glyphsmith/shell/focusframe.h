// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

class QPainter;

// The keyboard focus mark of the grid and the name strip: a one-pixel outline of
// short black and white dashes inside `rect`, plain on any colour beneath it (the
// black grid, the yellow marker, the grey strip), where a style's focus frame in
// the highlight colour can vanish.
namespace FocusFrame {

void draw(QPainter &painter, const QRect &rect);

} // namespace FocusFrame
