#pragma once

#include <QByteArray>
#include <QImage>

// A reader for the plain GIFs the program ships, so that loading a font picture at
// start-up does not have to load and ask every image plugin.
namespace GifReader {

// The first frame of a plain GIF, as the image plugin reads it: pixels opaque in
// their table's colours, the transparent index transparent. Every picture shipped
// with the program is such a GIF, and reading it here spares loading the plugin
// at start-up. Returns a null image for anything it does not handle in full (a
// frame smaller than the screen, a colour past its table, short or broken data),
// which is then left to the plugin.
QImage readPlain(const QByteArray &file);

} // namespace GifReader
