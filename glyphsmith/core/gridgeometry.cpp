#include "gridgeometry.h"

namespace GridGeometry {

QPoint glyphOrigin(int cell)
{
    return {(cell % kColumns) * kGlyph, (cell / kColumns) * kGlyph};
}

QRect cellRect(int cell)
{
    return {glyphOrigin(cell), QSize(kCellSize, kCellSize)};
}

int cellAt(QPoint point)
{
    // The last column and row reach one pixel further than the glyphs: the cells
    // are a little larger than their step.
    const int limit = (kColumns - 1) * kGlyph + kCellSize;
    if (point.x() < 0 || point.y() < 0 || point.x() >= limit || point.y() >= limit)
        return -1;
    const int column = qMin(point.x() / kGlyph, kColumns - 1);
    const int row = qMin(point.y() / kGlyph, kColumns - 1);
    return row * kColumns + column;
}

int moveCell(int cell, int columns, int rows)
{
    if (cell < 0 || cell >= kCells)
        return 0;
    const int column = qBound(0, cell % kColumns + columns, kColumns - 1);
    const int row = qBound(0, cell / kColumns + rows, kColumns - 1);
    return row * kColumns + column;
}

QString charNumberCaption(int cell)
{
    if (cell < 0 || cell >= kCells)
        return QStringLiteral("Char Number:");
    return QStringLiteral("Char Number: ") + QString::number(cell + 1);
}

int slotLeft(int slot)
{
    return (slot - 1) * kGlyph;
}

int slotAt(int x)
{
    constexpr int slots = 25;
    const int limit = (slots - 1) * kGlyph + kCellSize;
    if (x < 0 || x >= limit)
        return 0;
    return qMin(x / kGlyph, slots - 1) + 1;
}

} // namespace GridGeometry
