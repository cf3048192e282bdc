#pragma once

#include <QImage>
#include <QList>
#include <QString>

// The thirteen font pictures, built in memory: 256 x 256, 16 x 16 cells of
// 16 x 16 pixels on black, cell n at ((n mod 16) x 16, (n div 16) x 16), as
// QImage::Format_Indexed8 with a small colour table whose index 0 is black.
struct FontPictureSpec
{
    // Which layout rules the picture follows (the checks depend on it).
    enum class Layout {
        QuakeFamily, // Quake-engine table: cells 0/5, 13/14 and 255/160 look alike
        Ascii,       // cell i shows Windows-1252 code i + 1; cell 255 blank
        PlainAscii,  // JumpGate: 32..126 only
        Quake3,      // cell i shows code i
    };

    QString path; // below the data folder, '/' separated ("q3a/q3-white.gif")
    Layout layout;
    QImage image;
};

namespace Pictures {

inline constexpr int kCell = 16;
inline constexpr int kSize = 256;

QList<FontPictureSpec> buildAll();

// The 16 x 16 block of cell 0..255.
QImage cell(const QImage &picture, int index);

// True when every pixel of the cell has colour-table index 0 (black).
bool isBlank(const QImage &picture, int index);

// Broken layout rules of one picture, one line each; empty when it is sound.
QStringList layoutProblems(const FontPictureSpec &picture);

} // namespace Pictures
