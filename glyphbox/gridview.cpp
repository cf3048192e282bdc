#include "gridview.h"

#include "cellgeometry.h"
#include "charmapmodel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <cmath>

GridView::GridView(CharMapModel &model, QWidget *parent) : QFrame(parent), m_model(model)
{
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(kClientSize + QSize(2 * frameWidth(), 2 * frameWidth()));
    connect(&m_model, &CharMapModel::changed, this, qOverload<>(&QWidget::update));
}

void GridView::paintEvent(QPaintEvent *)
{
    const QSize cells = CellGeometry::gridExtent(m_model.cellSize());
    const QRect frame(QPoint(0, 0), cells + QSize(2 * frameWidth(), 2 * frameWidth()));
    QPainter painter(this);
    painter.setClipRegion(QRegion(rect()).subtracted(frame));
    painter.fillRect(rect(), palette().window());
    painter.setClipping(false);
    const qreal ratio = m_model.gridImage().devicePixelRatio();
    painter.drawImage(QRectF(contentsRect().topLeft(), QSizeF(cells)), m_model.gridImage(),
                      QRectF(QPointF(0, 0), QSizeF(cells) * ratio));
    QStyleOptionFrame option;
    initStyleOption(&option);
    option.rect = frame;
    style()->drawControl(QStyle::CE_ShapedFrame, &option, &painter, this);
}

QPoint GridView::toClient(QMouseEvent *event) const
{
    const QPointF pos = event->position();
    return QPoint(int(std::floor(pos.x())), int(std::floor(pos.y()))) - contentsRect().topLeft();
}

void GridView::mousePressEvent(QMouseEvent *event)
{
    m_model.press(event->button(), toClient(event));
}

void GridView::mouseMoveEvent(QMouseEvent *event)
{
    m_model.move(toClient(event));
}

void GridView::mouseReleaseEvent(QMouseEvent *)
{
    m_model.release();
}

void GridView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The press and release before it have already selected the cell.
    if (event->button() == Qt::LeftButton)
        Q_EMIT addRequested();
}

void GridView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        Q_EMIT addRequested();
    else if (!m_model.keyPress(event->key()))
        QFrame::keyPressEvent(event);
}
