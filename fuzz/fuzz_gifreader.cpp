// SPDX-License-Identifier: GPL-3.0-or-later
// The GIF reader on any bytes: it never reads or writes out of bounds (the
// sanitizers watch), never exceeds its size cap, and whatever picture it does
// return is the one Qt's own GIF reader makes of the same bytes.
#include "fuzzfields.h"
#include "gifreader.h"

#include <QBuffer>
#include <QImageReader>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QImage ours = GifReader::readPlain(bytes);
    if (ours.isNull())
        return 0;
    FUZZ_CHECK(ours.width() <= GifReader::kMaxSide && ours.height() <= GifReader::kMaxSide);
    FUZZ_CHECK(ours.size() == GifReader::screenSize(bytes));

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader plugin(&buffer, "gif");
    const QImage theirs = plugin.read();
    FUZZ_CHECK(ours.convertToFormat(QImage::Format_ARGB32) ==
               theirs.convertToFormat(QImage::Format_ARGB32));
    return 0;
}
