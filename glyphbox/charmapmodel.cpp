#include "charmapmodel.h"

#include "keystroke.h"

using CellGeometry::Cell;

CharMapModel::CharMapModel(QSize gridClient, QColor highlight, QColor highlightedText,
                           qreal pixelRatio, QObject *parent)
    : QObject(parent), m_canvas(gridClient, highlight, highlightedText, pixelRatio)
{}

void CharMapModel::drawGrid(const QFont &font)
{
    m_canvas.drawAll(font);
    Q_EMIT changed();
}

void CharMapModel::changeFont(const QFont &font)
{
    m_canvas.drawAll(font);
    m_magnifierFont = m_canvas.fittedFont(kMagnifierRoom, kMagnifierMaxPixels);
    m_canvas.highlight(selectedCell());
    // Left as it was, it would show the old family's glyph over a cell the new one lacks.
    if (m_magnifierCell) {
        const bool visible = m_magnifier.visible;
        drawIntoMagnifier(*m_magnifierCell);
        m_magnifier.visible = visible;
    }
    Q_EMIT changed();
}

void CharMapModel::press(Qt::MouseButton button, QPoint pos)
{
    const Cell cell = CellGeometry::cellAt(pos, cellSize());
    // A press on the frame or the pixels beside the cells has no character: its
    // column or row number would name an unrelated cell.
    if (button == Qt::RightButton || !CellGeometry::isInside(cell))
        return;
    if (m_selCol || m_selRow)
        m_canvas.unhighlight(selectedCell(), GridCanvas::Clear::WithBorders);
    placeMagnifier(cell);
    // Show the pressed character at once rather than whatever the magnifier
    // held last; a drag then only redraws it on reaching another cell.
    drawIntoMagnifier(cell);
    m_lastDrag = cell;
    select(cell);
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
        drawIntoMagnifier(cell);
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
    drawIntoMagnifier(cell);
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

void CharMapModel::drawIntoMagnifier(Cell cell)
{
    m_magnifierCell = cell;
    m_magnifier.character = GridCanvas::characterOf(cell);
    m_magnifier.font = m_magnifierFont;
    m_magnifier.glyph = m_canvas.glyph(cell);
    m_magnifier.name = describe(cell);
    m_magnifier.visible = true;
}

QString CharMapModel::describe(Cell cell) const
{
    const QString name = Keystroke::name(CellGeometry::cellNumber(cell)).value_or(QString());
    if (m_canvas.hasGlyph(cell))
        return name;
    return name + QStringLiteral("\nNot in %1").arg(m_canvas.familyName());
}

void CharMapModel::showKeystroke(Cell cell)
{
    const int number = CellGeometry::cellNumber(cell);
    if (const std::optional<QString> text = Keystroke::text(number)) {
        m_keystroke = *text;
        m_keystrokeHint = Keystroke::hint(number).value_or(QString());
    }
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
