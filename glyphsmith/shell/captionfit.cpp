// SPDX-License-Identifier: GPL-3.0-or-later
#include "captionfit.h"

#include "fontfamilies.h"

#include <QFontMetrics>

namespace CaptionFit {

QFont designFont()
{
    QFont font;
    font.setFamily(FontFamilies::firstInstalled(
        {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("Nimbus Sans"),
         QStringLiteral("Helvetica"), QStringLiteral("DejaVu Sans Condensed")}));
    font.setPixelSize(11);
    return font;
}

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
