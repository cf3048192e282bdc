#include "charmapmodel.h"

#include "keystroke.h"

using CellGeometry::Cell;

CharMapModel::CharMapModel(QSize gridClient, QColor highlight, QObject *parent)
    : QObject(parent), m_canvas(gridClient, highlight)
{}

void CharMapModel::drawGrid(const QString &family)
{
    m_canvas.drawAll(family);
    Q_EMIT changed();
}

void CharMapModel::changeFont(const QString &family)
{
    m_canvas.drawAll(family);
    m_magnifierFamily = family;
    m_canvas.highlight(selectedCell());
    Q_EMIT changed();
}

void CharMapModel::press(Qt::MouseButton button, QPoint pos)
{
    if (button == Qt::RightButton)
        return;
    const Cell cell = CellGeometry::cellAt(pos, cellSize());
    if (CellGeometry::isInside(cell)) {
        if (m_selCol || m_selRow)
            m_canvas.unhighlight(selectedCell(), GridCanvas::Clear::WithBorders);
        placeMagnifier(cell);
        // Show the pressed character at once rather than whatever the magnifier
        // held last; a drag then only redraws it on reaching another cell.
        drawIntoMagnifier(GridCanvas::characterOf(cell));
        m_lastDrag = cell;
        select(cell);
    }
    // Also outside the cells: the indicator follows the computed column and row,
    // and stays as it is where no character has that number.
    showKeystroke(cell);
    if (!m_pressed)
        hidePointer();
    m_pointerShown = false;
    m_magnifier.visible = true;
    m_pressed = true;
    Q_EMIT changed();
}

void CharMapModel::move(QPoint pos)
{
    if (!m_pressed)
        return;
    const Cell cell = CellGeometry::cellAt(pos, cellSize());
    if (!CellGeometry::isInside(cell)) {
        showPointer();
        m_pointerShown = true;
        Q_EMIT changed();
        return;
    }
    if (m_pointerShown) {
        hidePointer();
        m_pointerShown = false;
    }
    if (m_lastDrag != cell) {
        m_lastDrag = cell;
        placeMagnifier(cell);
        drawIntoMagnifier(GridCanvas::characterOf(cell));
        select(cell);
        showKeystroke(cell);
    }
    Q_EMIT changed();
}

void CharMapModel::release()
{
    if (!m_pointerShown) {
        showPointer();
        m_pointerShown = true;
    }
    m_canvas.highlight(selectedCell());
    m_magnifier.visible = false;
    m_pressed = false;
    Q_EMIT changed();
}

bool CharMapModel::keyPress(int key)
{
    const std::optional<int> next = CellGeometry::stepSelection(m_selIndex, key);
    if (!next)
        return false;
    m_selIndex = *next;
    // The magnifier marks the selection on this path; the grid only loses the
    // old highlight.
    m_canvas.unhighlight(selectedCell(), GridCanvas::Clear::Inside);
    const Cell cell = CellGeometry::cellOfNumber(m_selIndex);
    m_selCol = cell.col;
    m_selRow = cell.row;
    placeMagnifier(cell);
    drawIntoMagnifier(GridCanvas::characterOf(cell));
    showKeystroke(cell);
    Q_EMIT changed();
    return true;
}

void CharMapModel::setSelIndex(int number)
{
    Q_ASSERT(number >= 1 && number <= CellGeometry::kCellCount);
    m_selIndex = number;
}

unsigned char CharMapModel::selectedCode() const
{
    return CellGeometry::charCode(CellGeometry::cellOfNumber(m_selIndex));
}

Cell CharMapModel::selectedCell() const
{
    return {m_selCol.value_or(0), m_selRow.value_or(0)};
}

void CharMapModel::select(Cell cell)
{
    // The number moves with the highlight, so what is added is what is shown.
    m_selIndex = CellGeometry::cellNumber(cell);
    m_selCol = cell.col;
    m_selRow = cell.row;
}

void CharMapModel::placeMagnifier(Cell cell)
{
    m_magnifier.visible = false;
    m_magnifier.topLeft = CellGeometry::magnifierTopLeft(cell, cellSize());
}

void CharMapModel::drawIntoMagnifier(const QString &character)
{
    m_magnifier.character = character;
    m_magnifier.family = m_magnifierFamily;
    m_magnifier.visible = true;
}

void CharMapModel::showKeystroke(Cell cell)
{
    if (const std::optional<QString> text = Keystroke::text(CellGeometry::cellNumber(cell)))
        m_keystroke = *text;
}

void CharMapModel::hidePointer()
{
    if (m_pointerHidden)
        return;
    m_pointerHidden = true;
    Q_EMIT pointerVisibilityChanged(false);
}

void CharMapModel::showPointer()
{
    if (!m_pointerHidden)
        return;
    m_pointerHidden = false;
    Q_EMIT pointerVisibilityChanged(true);
}
