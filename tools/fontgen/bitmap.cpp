#include "bitmap.h"

#include <algorithm>

bool Bitmap::isEmpty() const
{
    return std::none_of(m_bits.begin(), m_bits.end(), [](std::uint8_t b) { return b != 0; });
}

Bitmap Bitmap::dilated(int brushWidth, int brushHeight) const
{
    Bitmap out(m_width + brushWidth - 1, m_height + brushHeight - 1);
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            if (at(x, y))
                for (int dy = 0; dy < brushHeight; ++dy)
                    for (int dx = 0; dx < brushWidth; ++dx)
                        out.set(x + dx, y + dy);
    return out;
}

void Bitmap::paint(const Bitmap &other, int x, int y)
{
    for (int oy = 0; oy < other.height(); ++oy)
        for (int ox = 0; ox < other.width(); ++ox)
            if (other.at(ox, oy))
                set(x + ox, y + oy);
}

Bitmap::Span Bitmap::inkColumns() const
{
    Span span{m_width, -1};
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            if (at(x, y)) {
                span.left = std::min(span.left, x);
                span.right = std::max(span.right, x);
            }
    if (span.right < 0)
        return {0, -1};
    return span;
}
