// SPDX-License-Identifier: GPL-3.0-or-later
#include "statusline.h"

#include "shellaccessibility.h"

#include <QAccessible>
#include <QPainter>
#include <QStyle>

StatusLine::StatusLine(QWidget *parent) : QLabel(parent)
{
    ShellAccessibility::install();
    setTextFormat(Qt::PlainText);
}

void StatusLine::setStatus(const QString &text, const QString &details)
{
    m_details = details;
    if (text == this->text()) {
        updateToolTip();
        return;
    }
    setText(text);
    updateToolTip();
    // The line's text is its accessible name: a changed name is what gets read out.
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

bool StatusLine::elided() const
{
    return fontMetrics().horizontalAdvance(text()) > contentsRect().width();
}

// A line cut at the window's edge is shown whole at the head of its tooltip.
void StatusLine::updateToolTip()
{
    setToolTip(elided() && !text().isEmpty()
                   ? (m_details.isEmpty() ? text() : text() + QStringLiteral("\n\n") + m_details)
                   : m_details);
}

void StatusLine::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    updateToolTip();
}

// Ends in an ellipsis where the text is wider than the line, rather than cut
// mid-letter; the full text stays the label's (and the screen reader's).
void StatusLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect box = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, box.width());
    style()->drawItemText(&painter, box, int(alignment()), palette(), isEnabled(), shown,
                          foregroundRole());
}

