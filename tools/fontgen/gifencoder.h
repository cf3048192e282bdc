#pragma once

#include <QByteArray>
#include <QImage>

// A minimal GIF89a writer: one frame, one global colour table, LZW-compressed,
// no extensions, so the same picture always gives the same bytes.
namespace GifEncoder {

// `image` must be QImage::Format_Indexed8 with 1 to 256 colours in its colour
// table and no pixel index beyond it; the table is padded to a power of two.
// Returns an empty array for anything else.
QByteArray encode(const QImage &image);

} // namespace GifEncoder
