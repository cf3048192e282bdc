#include "namestripwidget.h"

#include "cp1252.h"
#include "focusframe.h"
#include "gridgeometry.h"
#include "namecomposer.h"
#include "namestripimage.h"
#include "shellaccessibility.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <utility>

NameStripWidget::NameStripWidget(const NameComposer &composer, QWidget *parent)
    : QWidget(parent), m_composer(composer)
{
    setObjectName(QStringLiteral("Picture3"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    ShellAccessibility::install();
    connect(&m_composer, &NameComposer::nameChanged, this, &NameStripWidget::nameChanged);
}

void NameStripWidget::nameChanged()
{
    update();
    if (hasFocus() && currentCell() + 1 != m_shownSlot)
        announceCurrent(this, currentCell());
    m_shownSlot = currentCell() + 1;
}

int NameStripWidget::cellCount() const
{
    return NameComposer::kSlots;
}

QString NameStripWidget::cellName(int index) const
{
    const QByteArray text = m_composer.slotText(index + 1);
    return QStringLiteral("Slot %1: %2")
        .arg(index + 1)
        .arg(text.trimmed().isEmpty() ? QStringLiteral("blank") : Cp1252::toDisplay(text));
}

QRect NameStripWidget::cellRect(int index) const
{
    return QRect(GridGeometry::slotLeft(index + 1), 0, NameStripImage::kBoxSize,
                 NameStripImage::kHeight);
}

int NameStripWidget::currentCell() const
{
    // Past the end the marker stands under slot 25.
    return std::min(m_composer.namePos(), NameComposer::kSlots) - 1;
}

void NameStripWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.drawImage(0, 0, NameStripImage::render(m_composer));
    // Around the marker's selector only, so the glyph boxes stay exactly as rendered.
    if (hasFocus())
        FocusFrame::draw(painter, QRect(m_composer.markerLeft(), NameStripImage::kSelectorTop,
                                        NameStripImage::kBoxSize, NameStripImage::kSelectorHeight));
}

int NameStripWidget::slotUnder(QPoint point) const
{
    const int top = NameStripImage::kSelectorTop;
    if (point.y() < top || point.y() >= top + NameStripImage::kSelectorHeight)
        return 0;
    return GridGeometry::slotAt(point.x());
}

void NameStripWidget::mouseMoveEvent(QMouseEvent *event)
{
    // Taken here so the window does not treat it as a move over its background.
    event->accept();
}

void NameStripWidget::mousePressEvent(QMouseEvent *event)
{
    m_pressedSlot = event->button() == Qt::LeftButton ? slotUnder(event->position().toPoint()) : 0;
}

void NameStripWidget::mouseReleaseEvent(QMouseEvent *event)
{
    const int pressed = std::exchange(m_pressedSlot, 0);
    if (event->button() == Qt::LeftButton && pressed > 0 &&
        slotUnder(event->position().toPoint()) == pressed)
        Q_EMIT slotChosen(pressed);
}

void NameStripWidget::keyPressEvent(QKeyEvent *event)
{
    // Past the end the marker stands under slot 25, so that is where moves start.
    const int shown = std::min(m_composer.namePos(), NameComposer::kSlots);
    switch (event->key()) {
    case Qt::Key_Left:
        if (shown > 1)
            Q_EMIT slotChosen(shown - 1);
        break;
    case Qt::Key_Right:
        if (shown < NameComposer::kSlots)
            Q_EMIT slotChosen(shown + 1);
        break;
    case Qt::Key_Home:
        Q_EMIT slotChosen(1);
        break;
    case Qt::Key_End:
        Q_EMIT slotChosen(NameComposer::kSlots);
        break;
    case Qt::Key_Delete:
        Q_EMIT deleteRequested();
        break;
    case Qt::Key_Backspace:
        Q_EMIT backspaceRequested();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}
