#include "cellgeometry.h"

#include <Qt>

namespace CellGeometry {

namespace {

int floorDiv(int value, int divisor)
{
    const int q = value / divisor;
    return (value % divisor != 0 && value < 0) ? q - 1 : q;
}

} // namespace

QSize cellSize(QSize client)
{
    return {client.width() / kColumns, client.height() / kRows};
}

QSize gridExtent(QSize cell)
{
    return {kColumns * cell.width() + 1, kRows * cell.height() + 1};
}

Cell cellAt(QPoint point, QSize cell)
{
    // Floor, not truncation: a drag a few pixels left of the grid must not land
    // in column 0.
    return {floorDiv(point.x(), cell.width()), floorDiv(point.y(), cell.height())};
}

bool isInside(Cell cell)
{
    return cell.col >= 0 && cell.col < kColumns && cell.row >= 0 && cell.row < kRows;
}

int cellNumber(Cell cell)
{
    return 1 + cell.col + kColumns * cell.row;
}

Cell cellOfNumber(int number)
{
    return {(number - 1) % kColumns, (number - 1) / kColumns};
}

unsigned char charCode(Cell cell)
{
    return static_cast<unsigned char>(cellNumber(cell) + kFirstCode - 1);
}

QRect outerRect(Cell cell, QSize size)
{
    const int w = size.width();
    const int h = size.height();
    return QRect(QPoint(cell.col * w, cell.row * h),
                 QPoint(w * (cell.col + 1), h * (cell.row + 1)));
}

QRect innerRect(Cell cell, QSize size)
{
    return outerRect(cell, size).adjusted(1, 1, -1, -1);
}

QPoint magnifierTopLeft(Cell cell, QSize size)
{
    return {cell.col * size.width() + 5, cell.row * size.height() + 30};
}

int centred(int box, int content)
{
    return (box - content) / 2;
}

std::optional<int> stepSelection(int number, int key)
{
    int next = number;
    switch (key) {
    case Qt::Key_Left:
        next = number - 1;
        break;
    case Qt::Key_Up:
        next = number - kColumns;
        break;
    case Qt::Key_Right:
        next = number + 1;
        break;
    case Qt::Key_Down:
        next = number + kColumns;
        break;
    default:
        return std::nullopt;
    }
    return (next >= 1 && next <= kCellCount) ? next : number;
}

} // namespace CellGeometry
