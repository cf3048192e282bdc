// SPDX-License-Identifier: GPL-3.0-or-later
#include "captionfit.h"

#include <QFontMetrics>

namespace CaptionFit {

QFont fit(QFont font, const QList<Caption> &captions, int smallest)
{
    for (int size = font.pixelSize(); size > smallest; --size) {
        font.setPixelSize(size);
        const QFontMetrics metrics(font);
        const bool fits = std::all_of(captions.begin(), captions.end(), [&](const Caption &c) {
            return metrics.horizontalAdvance(c.text) <= c.width &&
                   (c.height == 0 || metrics.height() <= c.height);
        });
        if (fits)
            return font;
    }
    font.setPixelSize(smallest);
    return font;
}

} // namespace CaptionFit
