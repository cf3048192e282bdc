#include "magnifierview.h"

#include "cellgeometry.h"
#include "charmapmodel.h"

#include <QPainter>

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
    if (magnifier.character.isEmpty())
        return;
    const QFont font(magnifier.family, CharMapModel::kMagnifierPointSize);
    const QFontMetrics metrics(font);
    const QRect client = contentsRect();
    const int x =
        CellGeometry::centred(client.width(), metrics.horizontalAdvance(magnifier.character));
    const int y = CellGeometry::centred(client.height(), metrics.height());
    QPainter painter(this);
    painter.setClipRect(client);
    painter.setFont(font);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(client.left() + x, client.top() + y + metrics.ascent(), magnifier.character);
}
