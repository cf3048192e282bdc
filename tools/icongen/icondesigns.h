// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "iconshape.h"

#include <QList>
#include <QString>

// The programs' icons. Each is named by its program's desktop id, which is also
// the icon's file name in the icon theme.
struct IconDesign
{
    QString name; // "com.kestrelworks.glyphsmith"
    // The shapes for an icon of `size` pixels; the scalable file uses size 0.
    // Small sizes leave out details that would only blur.
    QList<IconShape> (*shapes)(int size);
};

namespace IconDesigns {

// The sizes written as PNG below hicolor/<n>x<n>/apps/.
inline constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};

QList<IconDesign> all();

} // namespace IconDesigns
