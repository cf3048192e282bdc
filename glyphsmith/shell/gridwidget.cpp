#include "gridwidget.h"

#include "fontpicture.h"
#include "gridgeometry.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyleOptionFocusRect>
#include <utility>

// The yellow frame over a cell; while the grid has the keyboard focus it also
// carries a focus rectangle, so the keyboard cursor is plain to see.
class CellMarker : public QWidget
{
public:
    explicit CellMarker(QWidget *parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("Shape1"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    void setFocusShown(bool shown)
    {
        m_focus = shown;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setPen(QColor(255, 255, 0));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        if (m_focus) {
            QStyleOptionFocusRect option;
            option.initFrom(this);
            option.rect = rect().adjusted(2, 2, -2, -2);
            option.backgroundColor = Qt::black;
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
        }
    }

private:
    bool m_focus = false;
};

GridWidget::GridWidget(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("CharMapBG"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
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

    m_highlight = new CellMarker(this);
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

void GridWidget::showCell(int cell)
{
    m_cursor = cell;
    m_highlight->setGeometry(GridGeometry::cellRect(cell));
    m_highlight->setFocusShown(hasFocus());
    m_highlight->show();
    Q_EMIT cellHovered(cell);
}

void GridWidget::mouseMoveEvent(QMouseEvent *event)
{
    const int cell = GridGeometry::cellAt(event->position().toPoint());
    // The margin outside the cells is the grid's own background: it leaves the
    // hover as it was.
    if (cell < 0)
        return;
    showCell(cell);
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

void GridWidget::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        showCell(GridGeometry::moveCell(m_cursor, -1, 0));
        break;
    case Qt::Key_Right:
        showCell(GridGeometry::moveCell(m_cursor, 1, 0));
        break;
    case Qt::Key_Up:
        showCell(GridGeometry::moveCell(m_cursor, 0, -1));
        break;
    case Qt::Key_Down:
        showCell(GridGeometry::moveCell(m_cursor, 0, 1));
        break;
    case Qt::Key_Home:
        showCell(0);
        break;
    case Qt::Key_End:
        showCell(GridGeometry::kCells - 1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_cursor < 0)
            showCell(0);
        Q_EMIT cellClicked(m_cursor);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void GridWidget::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    // Only a move by keyboard shows the cursor at once; a window that just opened
    // or was clicked shows nothing until a key or the pointer picks a cell.
    const bool byKeyboard = event->reason() == Qt::TabFocusReason ||
                            event->reason() == Qt::BacktabFocusReason ||
                            event->reason() == Qt::ShortcutFocusReason;
    if (byKeyboard)
        showCell(m_cursor < 0 ? 0 : m_cursor);
    else
        m_highlight->setFocusShown(true);
}

void GridWidget::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    m_highlight->setFocusShown(false);
}
