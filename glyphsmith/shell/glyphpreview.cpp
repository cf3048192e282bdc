#include "glyphpreview.h"

#include <QPainter>

GlyphPreview::GlyphPreview(int scale, QWidget *parent) : QWidget(parent), m_scale(scale)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GlyphPreview::setGlyph(const QImage &glyph)
{
    m_glyph = glyph;
    update();
}

void GlyphPreview::clear()
{
    m_glyph = QImage();
    update();
}

void GlyphPreview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (m_glyph.isNull())
        return;
    // No smoothing: every source pixel must come out as a solid block.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(QPoint(0, 0), m_glyph.size() * m_scale), m_glyph);
}
