#include "gridcanvas.h"

#include "cp1252.h"

#include <QGlyphRun>
#include <QPainter>
#include <algorithm>
#include <cmath>

using CellGeometry::Cell;

namespace {

constexpr int kMinPixels = 6;
constexpr int kMaxPixels = 20;
constexpr qsizetype kRecentFonts = 32;

std::size_t indexOf(Cell cell)
{
    return std::size_t(CellGeometry::cellNumber(cell) - 1);
}

// The largest whole pixel size at which ink `widest` ems wide takes at most
// `width` pixels, within the limits.
qreal sizeFitting(qreal widest, int width, int minPixels, int maxPixels)
{
    const int pixels = widest > 0 ? int(width / widest) : maxPixels;
    return std::clamp(pixels, minPixels, maxPixels);
}

} // namespace

GridCanvas::GridCanvas(QSize client, QColor highlight, QColor highlightedText, qreal pixelRatio)
    : m_image((QSizeF(client) * pixelRatio).toSize(), QImage::Format_RGB32),
      m_cellSize(CellGeometry::cellSize(client)), m_highlight(highlight),
      m_highlightedText(highlightedText)
{
    m_image.setDevicePixelRatio(pixelRatio);
    m_image.fill(Qt::white);
}

QString GridCanvas::characterOf(Cell cell)
{
    return Cp1252::toUnicode(QByteArray(1, char(CellGeometry::charCode(cell))));
}

GridCanvas::Layout GridCanvas::layoutFor(const QFont &font) const
{
    Layout layout;
    layout.key = font.key();
    layout.font = QRawFont::fromFont(font);
    if (!layout.font.isValid())
        return layout;

    QString characters;
    for (int number = 1; number <= CellGeometry::kCellCount; ++number)
        characters += characterOf(CellGeometry::cellOfNumber(number));
    const QList<quint32> glyphs = layout.font.glyphIndexesForString(characters);
    std::copy_n(glyphs.begin(), std::min<qsizetype>(glyphs.size(), CellGeometry::kCellCount),
                layout.glyphs.begin());

    // Measured once, at the size the font is loaded in, and scaled: the grid's
    // size is a copy of the loaded font rather than a new request to the font
    // database, which would search the installed fonts again.
    std::array<QRectF, CellGeometry::kCellCount> ink{};
    const qreal loaded = layout.font.pixelSize();
    QRectF extent; // every glyph's ink laid over one origin
    for (std::size_t i = 0; i < ink.size(); ++i) {
        if (layout.glyphs[i] == 0)
            continue;
        const QRectF r = layout.font.boundingRect(layout.glyphs[i]);
        ink[i] = QRectF(r.x() / loaded, r.y() / loaded, r.width() / loaded, r.height() / loaded);
        layout.widest = std::max(layout.widest, ink[i].width());
        extent = extent.isNull() ? ink[i] : extent.united(ink[i]);
    }
    // Half a pixel of room on either side between the widest glyph and the lines.
    const qreal room = m_cellSize.width() - 2;
    const qreal pixels = sizeFitting(layout.widest, int(room), kMinPixels, kMaxPixels);
    layout.font.setPixelSize(pixels);

    // Every cell shares one baseline, with the font's line box centred in the cell.
    const qreal innerWidth = m_cellSize.width() - 1;
    const qreal innerHeight = m_cellSize.height() - 1;
    const QRawFont &f = layout.font;
    const int baseline =
        1 + int(std::lround((innerHeight - f.ascent() - f.descent()) / 2 + f.ascent()));
    layout.fits = layout.widest * pixels <= room && baseline + extent.top() * pixels >= 1 &&
                  baseline + extent.bottom() * pixels <= innerHeight + 1;
    for (std::size_t i = 0; i < ink.size(); ++i) {
        const Cell cell = CellGeometry::cellOfNumber(int(i) + 1);
        const qreal x = 1 + (innerWidth - ink[i].width() * pixels) / 2 - ink[i].left() * pixels;
        layout.origins[i] = QPoint(cell.col * m_cellSize.width() + int(std::lround(x)),
                                   cell.row * m_cellSize.height() + baseline);
    }
    return layout;
}

void GridCanvas::drawAll(const QFont &font)
{
    // The family's own glyphs: a character map that filled the gaps from other
    // fonts would show characters the chosen font cannot print, and looking up
    // those fonts costs more than the whole grid with many fonts installed.
    QFont own = font;
    own.setStyleStrategy(QFont::NoFontMerging);
    const QString key = own.key();
    const auto it = std::find_if(m_recent.begin(), m_recent.end(),
                                 [&](const Layout &l) { return l.key == key; });
    if (it != m_recent.end()) {
        m_layout = *it;
        m_recent.erase(it);
    } else {
        m_layout = layoutFor(own);
    }
    m_recent.prepend(m_layout);
    if (m_recent.size() > kRecentFonts)
        m_recent.removeLast();

    m_image.fill(Qt::white);
    QPainter painter(&m_image);
    QList<quint32> glyphs;
    QList<QPointF> positions;
    for (int number = 1; number <= CellGeometry::kCellCount; ++number) {
        const Cell cell = CellGeometry::cellOfNumber(number);
        if (m_layout.glyphs[indexOf(cell)] == 0) {
            painter.fillRect(CellGeometry::innerRect(cell, m_cellSize), kMissing);
        } else if (m_layout.fits) {
            glyphs.append(m_layout.glyphs[indexOf(cell)]);
            positions.append(m_layout.origins[indexOf(cell)]);
        } else {
            drawCell(painter, cell, false);
        }
    }
    // One run for the whole grid where no glyph reaches past its cell; the same
    // pixels as drawing them one by one, as unhighlight does.
    if (!glyphs.isEmpty()) {
        QGlyphRun run;
        run.setRawFont(m_layout.font);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        painter.setClipping(false);
        painter.setPen(Qt::black);
        painter.drawGlyphRun(QPointF(0, 0), run);
    }
    painter.setClipping(false);

    // One-pixel lines whose end point is left out, like the platform's line calls.
    const int w = m_cellSize.width();
    const int h = m_cellSize.height();
    const int right = CellGeometry::kColumns * w;
    const int bottom = CellGeometry::kRows * h;
    for (int k = 0; k <= CellGeometry::kRows; ++k)
        painter.fillRect(QRect(0, k * h, right, 1), Qt::black);
    for (int k = 0; k <= CellGeometry::kColumns; ++k)
        painter.fillRect(QRect(k * w, 0, 1, bottom), Qt::black);
}

quint32 GridCanvas::glyph(Cell cell) const
{
    return m_layout.glyphs[indexOf(cell)];
}

QRawFont GridCanvas::fittedFont(int width, int maxPixels) const
{
    QRawFont fitted = m_layout.font;
    if (fitted.isValid())
        fitted.setPixelSize(sizeFitting(m_layout.widest, width, kMinPixels, maxPixels));
    return fitted;
}

void GridCanvas::drawCell(QPainter &painter, Cell cell, bool highlighted)
{
    const QRect inner = CellGeometry::innerRect(cell, m_cellSize);
    const quint32 g = m_layout.glyphs[indexOf(cell)];
    const QColor background = highlighted ? m_highlight : g ? QColor(Qt::white) : kMissing;
    painter.setClipping(false);
    painter.fillRect(inner, background);
    if (g == 0)
        return;
    QGlyphRun run;
    run.setRawFont(m_layout.font);
    run.setGlyphIndexes({g});
    run.setPositions({QPointF(0, 0)});
    // Glyphs that reach past the cell stay inside its lines.
    painter.setClipRect(inner);
    painter.setPen(highlighted ? m_highlightedText : QColor(Qt::black));
    painter.drawGlyphRun(m_layout.origins[indexOf(cell)], run);
}

void GridCanvas::highlight(Cell cell)
{
    {
        QPainter painter(&m_image);
        drawCell(painter, cell, true);
    }
    invertFocusRect(CellGeometry::innerRect(cell, m_cellSize));
}

void GridCanvas::unhighlight(Cell cell, Clear how)
{
    QPainter painter(&m_image);
    if (how == Clear::WithBorders)
        painter.fillRect(CellGeometry::outerRect(cell, m_cellSize), Qt::black);
    drawCell(painter, cell, false);
}

void GridCanvas::invertFocusRect(const QRect &rect)
{
    // Every other pixel of the outline, on a checkerboard tied to the image, so
    // the dots line up from cell to cell. In the image's own pixels.
    const qreal ratio = m_image.devicePixelRatio();
    const QRect device(QPoint(qRound(rect.left() * ratio), qRound(rect.top() * ratio)),
                       QPoint(qRound((rect.right() + 1) * ratio) - 1,
                              qRound((rect.bottom() + 1) * ratio) - 1));
    const QRect r = device.intersected(m_image.rect());
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
