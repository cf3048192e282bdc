#pragma once

#include "cellgeometry.h"

#include <QColor>
#include <QFont>
#include <QImage>

// The grid's kept image: drawn once per font, then changed cell by cell, so it
// shows the same whenever it is painted. Sizes in pixels.
class GridCanvas
{
public:
    GridCanvas(QSize client, QColor highlight);

    const QImage &image() const { return m_image; }
    QSize cellSize() const { return m_cellSize; }

    // Clears to white and draws every character centred in its cell in `family`
    // at 8 points, then the black grid lines.
    void drawAll(const QString &family);

    // Highlight fill, the character in white at the cell's top edge, and a dotted
    // focus rectangle inverted over the fill.
    void highlight(CellGeometry::Cell cell);

    enum class Clear {
        Inside,      // white inside the border lines, character in black at the top edge
        WithBorders, // the same after redrawing the cell's black border lines
    };
    void unhighlight(CellGeometry::Cell cell, Clear how);

    static QString characterOf(CellGeometry::Cell cell);

private:
    void drawAtTopEdge(CellGeometry::Cell cell, QColor colour);
    void invertFocusRect(const QRect &rect);

    QImage m_image;
    QSize m_cellSize;
    QColor m_highlight;
    QFont m_font;
};
