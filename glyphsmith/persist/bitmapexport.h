#pragma once

#include "fileerror.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// The picture of the name that "Export name as Bitmap" saves: the start of the name
// strip, the glyphs' full 16 rows and as wide as the name so far, on a black
// picture, enlarged pixel for pixel when asked.
namespace BitmapExport {

inline constexpr int kWidth = 433; // the export picture, pixels
inline constexpr int kHeight = 25;
// Whole glyphs: the tails of g, j, p, q, y and _ lie in the last rows.
inline constexpr int kCopyHeight = 16;

// Pixels of the strip copied for `namePos` (1..26): 15.3 per slot, rounded to the
// nearest integer, halves to the even one. Out-of-range positions are clamped.
int copyWidth(int namePos);

// A kWidth x kHeight black picture with `strip`'s region (0, 0, copyWidth, 16) at
// its top-left corner, 24 bits per pixel, then each pixel a `scale` x `scale`
// block (1, 2 or 4; anything else is taken as 1).
QImage exportPicture(const QImage &strip, int namePos, int scale = 1);

// Saves `picture` in `format` (an image writer's format name: "BMP", "PNG"), 24
// bits per pixel, replacing the file atomically (AtomicFile): a failed save
// leaves the old file as it was.
FileError save(const QImage &picture, const QString &path, const QByteArray &format = "BMP");

} // namespace BitmapExport
