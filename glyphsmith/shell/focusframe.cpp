// SPDX-License-Identifier: GPL-3.0-or-later
#include "focusframe.h"

#include <QPainter>
#include <QPen>

namespace FocusFrame {

void draw(QPainter &painter, const QRect &rect)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    const QRect outline = rect.adjusted(0, 0, -1, -1);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(outline);
    QPen dashes(Qt::black, 1);
    dashes.setDashPattern({2, 2});
    painter.setPen(dashes);
    painter.drawRect(outline);
    painter.restore();
}

} // namespace FocusFrame
