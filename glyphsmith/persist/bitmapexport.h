#pragma once

#include "fileerror.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// The picture of the name that "Export name as Bitmap" saves: the start of the name
// strip, 14 pixels high and as wide as the name so far, on a black picture.
namespace BitmapExport {

inline constexpr int kWidth = 433; // the export picture, pixels
inline constexpr int kHeight = 25;
inline constexpr int kCopyHeight = 14;

// Pixels of the strip copied for `namePos` (1..26): 15.3 per slot, rounded to the
// nearest integer, halves to the even one. Out-of-range positions are clamped.
int copyWidth(int namePos);

// A kWidth x kHeight black picture with `strip`'s region (0, 0, copyWidth, 14) at
// its top-left corner, 24 bits per pixel.
QImage exportPicture(const QImage &strip, int namePos);

// Saves `picture` in `format` (an image writer's format name: "BMP", "PNG"), 24
// bits per pixel, replacing the file atomically (AtomicFile): a failed save
// leaves the old file as it was.
FileError save(const QImage &picture, const QString &path, const QByteArray &format = "BMP");

} // namespace BitmapExport
