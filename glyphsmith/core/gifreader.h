#pragma once

#include <QByteArray>
#include <QImage>

// A reader for the plain GIFs the program ships, so that loading a font picture at
// start-up does not have to load and ask every image plugin.
namespace GifReader {

// Pictures wider or higher than this are refused: a font picture needs 256 pixels
// a side, and a header claiming 65535 x 65535 must not cost gigabytes.
inline constexpr int kMaxSide = 4096;

// The size the file's header claims (its logical screen), read without decoding;
// an invalid size when the data is no GIF.
QSize screenSize(const QByteArray &file);

// The first frame of a plain GIF, as the image plugin reads it: pixels opaque in
// their table's colours, the transparent index transparent. Every picture shipped
// with the program is such a GIF, and reading it here spares loading the plugin
// at start-up. Returns a null image for anything it does not handle in full (a
// frame smaller than the screen, a colour past its table, short or broken data),
// which is then left to the plugin, and for anything larger than kMaxSide a side.
QImage readPlain(const QByteArray &file);

} // namespace GifReader
