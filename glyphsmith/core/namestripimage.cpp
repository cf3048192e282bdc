#include "namestripimage.h"

#include "gridgeometry.h"
#include "namecomposer.h"

#include <QPainter>

namespace NameStripImage {

QImage render(const NameComposer &composer)
{
    QImage strip(kWidth, kHeight, QImage::Format_RGB32);
    strip.fill(QColor(0xd4, 0xd0, 0xc8)); // the strip container's face colour
    QPainter painter(&strip);
    const QColor selector(Qt::white);
    for (int slot = 1; slot <= NameComposer::kSlots; ++slot) {
        const int left = GridGeometry::slotLeft(slot);
        painter.fillRect(left, kSelectorTop, kBoxSize, kSelectorHeight, selector);
        painter.setPen(QColor(0x80, 0x80, 0x80));
        painter.drawRect(left, kSelectorTop, kBoxSize - 1, kSelectorHeight - 1);
    }
    // Glyph boxes after the selectors: each box's one-pixel overlap lies on its
    // right neighbour, so boxes are drawn left to right like stacked controls.
    for (int slot = 1; slot <= NameComposer::kSlots; ++slot) {
        const int left = GridGeometry::slotLeft(slot);
        painter.fillRect(left, 0, kBoxSize, kBoxSize - 1, Qt::black);
        const QImage glyph = composer.slotGlyph(slot);
        if (!glyph.isNull())
            painter.drawImage(left, 0, glyph);
    }
    painter.fillRect(composer.markerLeft(), kSelectorTop, kBoxSize, kSelectorHeight,
                     QColor(255, 255, 0));
    return strip;
}

} // namespace NameStripImage
