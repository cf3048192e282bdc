#include "gridview.h"

#include "cellgeometry.h"
#include "charmapmodel.h"
#include "gridaccessible.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <cmath>

GridView::GridView(CharMapModel &model, QWidget *parent) : QFrame(parent), m_model(model)
{
    GridAccessible::install();
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(kClientSize + QSize(2 * frameWidth(), 2 * frameWidth()));
    connect(&m_model, &CharMapModel::changed, this, &GridView::modelChanged);
}

void GridView::modelChanged()
{
    update();
    // A screen reader follows the selection as the keys move it.
    if (hasFocus() && QAccessible::isActive() && m_model.selIndex() != m_announced) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(m_model.selIndex() - 1);
        QAccessible::updateAccessibility(&focus);
    }
    m_announced = m_model.selIndex();
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

int GridView::cellNumberAt(QPoint pos) const
{
    const CellGeometry::Cell cell =
        CellGeometry::cellAt(pos - contentsRect().topLeft(), m_model.cellSize());
    return CellGeometry::isInside(cell) ? CellGeometry::cellNumber(cell) : 0;
}

QRect GridView::cellRect(int number) const
{
    return CellGeometry::outerRect(CellGeometry::cellOfNumber(number), m_model.cellSize())
        .translated(contentsRect().topLeft());
}

QString GridView::cellName(int number) const
{
    const CellGeometry::Cell cell = CellGeometry::cellOfNumber(number);
    return GridCanvas::characterOf(cell) + QStringLiteral(", ") +
           m_model.describe(cell).replace(QLatin1Char('\n'), QStringLiteral(", "));
}

int GridView::selectedNumber() const
{
    return m_model.selIndex();
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
