#pragma once

#include "cellgeometry.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRawFont>
#include <array>

class QPainter;

// The grid's kept image: drawn once per font, then changed cell by cell, so it
// shows the same whenever it is painted. Sizes in pixels of the client area; the
// image holds `pixelRatio` device pixels to each, so that scaled screens show
// sharp glyphs.
class GridCanvas
{
public:
    GridCanvas(QSize client, QColor highlight, QColor highlightedText, qreal pixelRatio = 1);

    const QImage &image() const { return m_image; }
    QSize cellSize() const { return m_cellSize; }

    // Clears to white and draws every character centred in its cell with the
    // glyphs of `font`'s family alone, at the largest size at which the widest of
    // them fits a cell (6 to 20 pixels), then the black grid lines. Cells whose
    // character the family lacks are grey. The glyphs are first measured at
    // `font`'s own size, so a font that is already loaded costs least.
    void drawAll(const QFont &font);

    // Highlight fill, the character centred in the highlighted-text colour, and a
    // dotted focus rectangle inverted over the fill.
    void highlight(CellGeometry::Cell cell);

    enum class Clear {
        Inside,      // the cell inside its border lines, as drawAll drew it
        WithBorders, // the same after redrawing the cell's black border lines
    };
    void unhighlight(CellGeometry::Cell cell, Clear how);

    // The cell character's glyph in the family drawAll last used; 0 where the
    // family lacks it, and before drawAll.
    quint32 glyph(CellGeometry::Cell cell) const;
    bool hasGlyph(CellGeometry::Cell cell) const { return glyph(cell) != 0; }
    // The grid's font, sized so that the widest glyph is at most `width` pixels
    // wide, and no larger than `maxPixels`.
    QRawFont fittedFont(int width, int maxPixels) const;
    // The family drawAll last drew; empty before.
    QString familyName() const { return m_layout.font.familyName(); }

    static QString characterOf(CellGeometry::Cell cell);

    static constexpr QRgb kMissing = 0xffd8d8d8;

private:
    void drawCell(QPainter &painter, CellGeometry::Cell cell, bool highlighted);
    void invertFocusRect(const QRect &rect);

    // Everything the cells need of one font, kept for the last few fonts shown, so
    // that going back to one reuses its glyphs.
    struct Layout
    {
        QString key;
        QRawFont font;
        qreal widest = 0; // the widest glyph's ink, in ems
        bool fits = true; // whether every glyph keeps inside its cell's lines
        std::array<quint32, CellGeometry::kCellCount> glyphs{};
        // Where each cell's glyph is drawn: the left end of its baseline.
        std::array<QPoint, CellGeometry::kCellCount> origins{};
    };
    // `font` must not merge in other fonts.
    Layout layoutFor(const QFont &font) const;

    QImage m_image;
    QSize m_cellSize;
    QColor m_highlight;
    QColor m_highlightedText;
    Layout m_layout;
    QList<Layout> m_recent;
};
