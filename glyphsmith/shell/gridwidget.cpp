#include "gridwidget.h"

#include "focusframe.h"
#include "fontpicture.h"
#include "gridgeometry.h"
#include "shellaccessibility.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <utility>

// The yellow frame over the hovered cell (Shape1), or, with `dashed`, the focus
// mark over the keyboard's cell; neither takes the mouse.
class CellMarker : public QWidget
{
public:
    CellMarker(const char *name, bool dashed, QWidget *parent) : QWidget(parent), m_dashed(dashed)
    {
        setObjectName(QLatin1String(name));
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        if (m_dashed) {
            // Inside the yellow frame, so both show on the same cell.
            FocusFrame::draw(painter, rect().adjusted(2, 2, -2, -2));
            return;
        }
        painter.setPen(QColor(255, 255, 0));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    bool m_dashed;
};

// The font picture (CharMap), pixel for pixel: at any scale each of its pixels is a
// solid block, as the game draws it, never a blur.
class PictureView : public QWidget
{
public:
    explicit PictureView(QWidget *parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("CharMap"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    void setPicture(const QImage &picture)
    {
        m_picture = picture;
        update();
    }
    const QImage &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(QRect(QPoint(0, 0), m_picture.size()), m_picture);
    }

private:
    QImage m_picture;
};

GridWidget::GridWidget(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("CharMapBG"));
    ShellAccessibility::install();
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);

    // The cells are this widget's own areas: the children only show, never take the mouse.
    m_picture = new PictureView(this);
    m_picture->setGeometry(0, 0, FontPicture::kSize + 1, FontPicture::kSize + 1);

    m_highlight = new CellMarker("Shape1", false, this);
    m_highlight->hide();
    m_focusMark = new CellMarker("FocusMark", true, this);
    m_focusMark->hide();
}

void GridWidget::setPicture(const QImage &picture)
{
    m_picture->setPicture(picture);
}

const QImage &GridWidget::picture() const
{
    return m_picture->picture();
}

void GridWidget::showFocusMark()
{
    // Before any cell is picked the mark frames the whole picture, so the user
    // still sees where the keys go.
    m_focusMark->setGeometry(m_cursor < 0 ? m_picture->geometry()
                                          : GridGeometry::cellRect(m_cursor));
    m_focusMark->setVisible(hasFocus());
}

int GridWidget::cellCount() const
{
    return GridGeometry::kCells;
}

QRect GridWidget::cellRect(int index) const
{
    return GridGeometry::cellRect(index);
}

void GridWidget::hideHighlight()
{
    m_highlight->hide();
}

void GridWidget::showCell(int cell)
{
    m_cursor = cell;
    m_highlight->setGeometry(GridGeometry::cellRect(cell));
    m_highlight->show();
    showFocusMark();
    if (hasFocus())
        announceCurrent(this, cell);
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
        showFocusMark();
}

void GridWidget::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    m_focusMark->hide();
}
