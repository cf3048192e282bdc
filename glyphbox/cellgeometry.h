#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

// The character grid's pure rules. Everything is in pixels of the grid's client
// area, origin at its top-left. Cells are numbered 1 to 224 (row by row) and hold
// the Windows-1252 codes 32 to 255.
namespace CellGeometry {

inline constexpr int kColumns = 32;
inline constexpr int kRows = 7;
inline constexpr int kCellCount = kColumns * kRows;
inline constexpr int kFirstCode = 32;

struct Cell
{
    int col = 0;
    int row = 0;
    friend bool operator==(const Cell &, const Cell &) = default;
};

// Whole pixels per cell; the remainder of the client area belongs to no cell.
QSize cellSize(QSize client);
// The 32 x 7 cells with their closing lines, from the client area's origin.
QSize gridExtent(QSize cell);

// The column and row under a point, not range-checked; points left of or above
// the grid give negative numbers, not column or row 0.
Cell cellAt(QPoint point, QSize cell);

bool isInside(Cell cell);

int cellNumber(Cell cell);         // 1 + col + 32 * row
Cell cellOfNumber(int number);     // number 1 to 224
unsigned char charCode(Cell cell); // 32 to 255

// The cell with both border lines it shares with its neighbours.
QRect outerRect(Cell cell, QSize size);
// Inside the border lines: where the highlight and the focus rectangle go.
QRect innerRect(Cell cell, QSize size);

// Where the magnifier's top-left goes, in the window's coordinates.
QPoint magnifierTopLeft(Cell cell, QSize size);
// The magnifier's shadow lies this far right and down of it.
inline constexpr int kShadowOffset = 5;

// Offset that centres `content` pixels in `box` pixels; negative when it does not fit.
int centred(int box, int content);

// The cell number after an arrow key (Qt::Key_Left/Up/Right/Down), stopping at the
// grid's ends; std::nullopt for any other key.
std::optional<int> stepSelection(int number, int key);

} // namespace CellGeometry
