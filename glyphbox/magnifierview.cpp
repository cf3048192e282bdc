#include "magnifierview.h"

#include "cellgeometry.h"
#include "charmapmodel.h"

#include <QGlyphRun>
#include <QPainter>
#include <cmath>

MagnifierView::MagnifierView(const CharMapModel &model, QWidget *parent)
    : QFrame(parent), m_model(model)
{
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFixedSize(kSize);
    setAutoFillBackground(true);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void MagnifierView::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    const CharMapModel::Magnifier &magnifier = m_model.magnifier();
    if (magnifier.glyph == 0 || !magnifier.font.isValid())
        return;
    const QRawFont &font = magnifier.font;
    const QRectF ink = font.boundingRect(magnifier.glyph);
    const QRect client = contentsRect();
    const qreal x = client.left() + (client.width() - ink.width()) / 2 - ink.left();
    const qreal y =
        client.top() + (client.height() - font.ascent() - font.descent()) / 2 + font.ascent();
    QGlyphRun run;
    run.setRawFont(font);
    run.setGlyphIndexes({magnifier.glyph});
    run.setPositions({QPointF(0, 0)});
    QPainter painter(this);
    painter.setClipRect(client);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawGlyphRun(QPointF(std::round(x), std::round(y)), run);
}
