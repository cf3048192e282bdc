#include "gridwidget.h"

#include "fontpicture.h"
#include "gridgeometry.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <utility>

GridWidget::GridWidget(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("CharMapBG"));
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);

    // The cells are this widget's own areas: the children only show, never take the mouse.
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("CharMap"));
    m_picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_picture->setGeometry(0, 0, FontPicture::kSize + 1, FontPicture::kSize + 1);
    m_picture->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_highlight = new QFrame(this);
    m_highlight->setObjectName(QStringLiteral("Shape1"));
    m_highlight->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_highlight->setLineWidth(1);
    QPalette yellow = palette();
    yellow.setColor(QPalette::WindowText, QColor(255, 255, 0));
    m_highlight->setPalette(yellow);
    m_highlight->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_highlight->hide();
}

void GridWidget::setPicture(const QImage &picture)
{
    m_picture->setPixmap(QPixmap::fromImage(picture));
}

void GridWidget::hideHighlight()
{
    m_highlight->hide();
}

void GridWidget::mouseMoveEvent(QMouseEvent *event)
{
    const int cell = GridGeometry::cellAt(event->position().toPoint());
    // The margin outside the cells is the grid's own background: it leaves the
    // hover as it was.
    if (cell < 0)
        return;
    m_highlight->setGeometry(GridGeometry::cellRect(cell));
    m_highlight->show();
    Q_EMIT cellHovered(cell);
}

void GridWidget::mousePressEvent(QMouseEvent *event)
{
    m_pressedCell =
        event->button() == Qt::LeftButton ? GridGeometry::cellAt(event->position().toPoint()) : -1;
}

void GridWidget::mouseReleaseEvent(QMouseEvent *event)
{
    const int pressed = std::exchange(m_pressedCell, -1);
    if (event->button() != Qt::LeftButton || pressed < 0)
        return;
    if (GridGeometry::cellAt(event->position().toPoint()) == pressed)
        Q_EMIT cellClicked(pressed);
}
