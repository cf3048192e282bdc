// SPDX-License-Identifier: GPL-3.0-or-later
#include "framebox.h"

#include <QPainter>
#include <QStyleOptionFrame>

namespace {

constexpr int kTitleLeft = 6; // the caption starts this far in, with a blank either side

} // namespace

FrameBox::FrameBox(const QString &title, QWidget *parent) : QGroupBox(title, parent) {}

int FrameBox::borderTop() const
{
    return fontMetrics().height() / 2;
}

void FrameBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect border = rect().adjusted(0, borderTop(), -1, -1);
    // An etched line: dark, with a light one inside, as frames were drawn.
    const QPalette &pal = palette();
    painter.setPen(pal.color(QPalette::Mid));
    painter.drawRect(border.adjusted(0, 0, -1, -1));
    painter.setPen(pal.color(QPalette::Light));
    painter.drawRect(border.adjusted(1, 1, 0, 0));

    const QFontMetrics metrics = fontMetrics();
    const QString caption = title();
    const int width = metrics.horizontalAdvance(caption) + 4;
    const QRect captionRect(kTitleLeft, 0, qMin(width, rect().width() - kTitleLeft),
                            metrics.height());
    painter.fillRect(captionRect, pal.window());
    painter.setPen(
        pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(captionRect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop, caption);
}
