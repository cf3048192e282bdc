// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

// Text colours that stay readable on the window's own background, light or dark.
namespace Contrast {

// The contrast ratio of two opaque colours as WCAG 2 defines it: 1 (the same
// luminance) to 21 (black on white).
double ratio(const QColor &a, const QColor &b);

// The name check's warning colour on `background`: the designed red-brown where it
// is readable, else that hue made darker (on a light background) or lighter (on a
// dark one) just far enough for `minimum` contrast; black or white if no shade of
// the hue gets there.
QColor warningOn(const QColor &background, double minimum = 4.5);

} // namespace Contrast
