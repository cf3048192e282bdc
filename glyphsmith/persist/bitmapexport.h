#pragma once

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

struct Result
{
    bool ok = false;
    int errorNumber = 0; // a QFileDevice::FileError value on failure
    QString message;     // the reason on failure
};

// Saves `picture` as a 24-bit BMP, replacing the file atomically.
Result save(const QImage &picture, const QString &path);

} // namespace BitmapExport
