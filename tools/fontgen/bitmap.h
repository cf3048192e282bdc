#pragma once

#include <cstdint>
#include <vector>

// A one-bit picture: the skeleton of a glyph as drawn in the sheets, or the
// pixels it covers once a brush has been run over it. Reads outside are clear.
class Bitmap
{
public:
    Bitmap() = default;
    Bitmap(int width, int height) : m_width(width), m_height(height), m_bits(width * height) {}

    int width() const { return m_width; }
    int height() const { return m_height; }

    bool at(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < m_width && y < m_height && m_bits[y * m_width + x];
    }
    void set(int x, int y, bool on = true)
    {
        if (x >= 0 && y >= 0 && x < m_width && y < m_height)
            m_bits[y * m_width + x] = on;
    }
    bool isEmpty() const;

    // Every set pixel becomes a brushWidth x brushHeight block whose top-left
    // corner is that pixel; the result grows by the brush size less one.
    Bitmap dilated(int brushWidth, int brushHeight) const;

    // `other` ORed in with its top-left corner at (x, y); the size stays.
    void paint(const Bitmap &other, int x, int y);

    // The columns [left, right] that hold a set pixel; {0, -1} when empty.
    struct Span
    {
        int left;
        int right;
    };
    Span inkColumns() const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_bits;
};
