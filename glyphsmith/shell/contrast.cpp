// SPDX-License-Identifier: GPL-3.0-or-later
#include "contrast.h"

#include <cmath>

namespace {

const QColor kWarning(0xB0, 0x30, 0x00);

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double luminance(const QColor &c)
{
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

} // namespace

namespace Contrast {

double ratio(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor warningOn(const QColor &background, double minimum)
{
    if (ratio(kWarning, background) >= minimum)
        return kWarning;
    // Towards black first where black is the stronger contrast, else towards white.
    const bool darkerFirst = ratio(Qt::black, background) >= ratio(Qt::white, background);
    const float hue = kWarning.hslHueF();
    const float saturation = kWarning.hslSaturationF();
    const float start = kWarning.lightnessF();
    for (const bool darker : {darkerFirst, !darkerFirst}) {
        for (int step = 1; step <= 100; ++step) {
            const float lightness = darker ? std::max(0.0f, start - step * 0.01f)
                                           : std::min(1.0f, start + step * 0.01f);
            const QColor shade = QColor::fromHslF(hue, saturation, lightness);
            if (ratio(shade, background) >= minimum)
                return shade;
        }
    }
    return darkerFirst ? QColor(Qt::black) : QColor(Qt::white);
}

} // namespace Contrast
