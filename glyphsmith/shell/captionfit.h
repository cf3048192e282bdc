// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QList>
#include <QString>
#include <utility>

// The windows keep their designed positions, so the captions must fit the widths
// they were drawn for, whatever face the system supplies.
namespace CaptionFit {

// The face the windows were drawn for: a narrow sans-serif of 11 pixels, as one
// installed family (the program's application font).
QFont designFont();

struct Caption
{
    QString text;
    int width = 0;  // pixels available
    int height = 0; // pixels available; 0: any
};

// `font` at the largest pixel size, from its own down to `smallest`, at which
// every caption fits; `smallest` when none does.
QFont fit(QFont font, const QList<Caption> &captions, int smallest = 9);

} // namespace CaptionFit
