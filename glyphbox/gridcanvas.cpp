#include "gridcanvas.h"

#include "cp1252.h"

#include <QFontMetrics>
#include <QPainter>

using CellGeometry::Cell;

GridCanvas::GridCanvas(QSize client, QColor highlight)
    : m_image(client, QImage::Format_RGB32), m_cellSize(CellGeometry::cellSize(client)),
      m_highlight(highlight)
{
    m_image.fill(Qt::white);
}

QString GridCanvas::characterOf(Cell cell)
{
    return Cp1252::toUnicode(QByteArray(1, char(CellGeometry::charCode(cell))));
}

void GridCanvas::drawAll(const QString &family)
{
    m_font = QFont(family, 8);
    m_image.fill(Qt::white);

    QPainter painter(&m_image);
    painter.setFont(m_font);
    painter.setPen(Qt::black);
    const QFontMetrics metrics(m_font);
    const int w = m_cellSize.width();
    const int h = m_cellSize.height();
    for (int col = 0; col < CellGeometry::kColumns; ++col) {
        for (int row = 0; row < CellGeometry::kRows; ++row) {
            const QString ch = characterOf({col, row});
            const int x = CellGeometry::centred(w, metrics.horizontalAdvance(ch)) + col * w;
            const int y = CellGeometry::centred(h, metrics.height()) + row * h;
            painter.drawText(x, y + metrics.ascent(), ch);
        }
    }

    // One-pixel lines whose end point is left out, like the platform's line calls.
    const int right = CellGeometry::kColumns * w;
    const int bottom = CellGeometry::kRows * h;
    for (int k = 0; k <= CellGeometry::kRows; ++k)
        painter.fillRect(QRect(0, k * h, right, 1), Qt::black);
    for (int k = 0; k <= CellGeometry::kColumns; ++k)
        painter.fillRect(QRect(k * w, 0, 1, bottom), Qt::black);
}

void GridCanvas::highlight(Cell cell)
{
    const QRect inner = CellGeometry::innerRect(cell, m_cellSize);
    {
        QPainter painter(&m_image);
        painter.fillRect(inner, m_highlight);
    }
    drawAtTopEdge(cell, Qt::white);
    invertFocusRect(inner);
}

void GridCanvas::unhighlight(Cell cell, Clear how)
{
    {
        QPainter painter(&m_image);
        if (how == Clear::WithBorders)
            painter.fillRect(CellGeometry::outerRect(cell, m_cellSize), Qt::black);
        painter.fillRect(CellGeometry::innerRect(cell, m_cellSize), Qt::white);
    }
    drawAtTopEdge(cell, Qt::black);
}

void GridCanvas::drawAtTopEdge(Cell cell, QColor colour)
{
    QPainter painter(&m_image);
    painter.setFont(m_font);
    painter.setPen(colour);
    const QFontMetrics metrics(m_font);
    painter.drawText(3 + cell.col * m_cellSize.width(),
                     cell.row * m_cellSize.height() + metrics.ascent(), characterOf(cell));
}

void GridCanvas::invertFocusRect(const QRect &rect)
{
    // Every other pixel of the outline, on a checkerboard tied to the image, so
    // the dots line up from cell to cell.
    const QRect r = rect.intersected(m_image.rect());
    if (r.isEmpty())
        return;
    auto invert = [this](int x, int y) {
        if ((x + y) % 2 == 0)
            m_image.setPixel(x, y, m_image.pixel(x, y) ^ 0x00ffffffu);
    };
    for (int x = r.left(); x <= r.right(); ++x) {
        invert(x, r.top());
        if (r.bottom() != r.top())
            invert(x, r.bottom());
    }
    for (int y = r.top() + 1; y < r.bottom(); ++y) {
        invert(r.left(), y);
        if (r.right() != r.left())
            invert(r.right(), y);
    }
}
