// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QString>

class QWidget;

// What a widget made of cells tells a screen reader: it is a list whose items are
// its cells (the grid's glyphs, the strip's slots). Indexes from 0.
class AccessibleCells
{
public:
    virtual ~AccessibleCells() = default;

    virtual int cellCount() const = 0;
    virtual QString cellName(int index) const = 0;
    virtual QRect cellRect(int index) const = 0; // the widget's pixels
    virtual int currentCell() const = 0;         // where the keys act; -1: none

protected:
    // Tells a screen reader that the keys now act on `index` of `widget`.
    static void announceCurrent(QWidget *widget, int index);
};
