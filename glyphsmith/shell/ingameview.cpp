// SPDX-License-Identifier: GPL-3.0-or-later
#include "ingameview.h"

#include <QPainter>

namespace {

constexpr int kGlyph = 16;
constexpr int kInset = 1;

} // namespace

InGameView::InGameView(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void InGameView::setGlyphs(const QList<QImage> &glyphs)
{
    m_glyphs = glyphs;
    update();
}

void InGameView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (m_glyphs.isEmpty())
        return;
    const int room = width() - 2 * kInset;
    const int step = qMin(kGlyph, room / int(m_glyphs.size()));
    const int top = (height() - kGlyph) / 2;
    // No smoothing: glyphs keep their hard pixels even when drawn narrower.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    int x = kInset;
    for (const QImage &glyph : m_glyphs) {
        painter.drawImage(QRect(x, top, step, kGlyph), glyph);
        x += step;
    }
}
