#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

// The 16 x 16 character grid and the name strip, in pixels.
namespace GridGeometry {

inline constexpr int kCells = 256;
inline constexpr int kColumns = 16;
inline constexpr int kGlyph = 16; // glyph size and cell step
inline constexpr int kCellSize =
    17; // a cell's click area overlaps its right and lower neighbour by 1

// Top-left of cell n's glyph in the font picture (and of the cell in the grid).
QPoint glyphOrigin(int cell);

// The click and hover area of cell n inside the grid.
QRect cellRect(int cell);

// The cell under a point of the grid, or -1 when no cell is there.
int cellAt(QPoint point);

// The cell `columns` across and `rows` down from `cell`, stopping at the grid's
// edges; -1 (no cell yet) moves from cell 0.
int moveCell(int cell, int columns, int rows);

// "Char Number: n+1" while cell n is hovered, "Char Number:" for -1.
QString charNumberCaption(int cell);

// Name strip: slot i (1..25) starts at (i - 1) x 16; one step past slot 25 is 400.
int slotLeft(int slot);

// The slot selector under a point of the strip's selector row, or 0 for none.
int slotAt(int x);

} // namespace GridGeometry
