// SPDX-License-Identifier: GPL-3.0-or-later
// The font picture loader on any bytes (GIF, BMP, JPEG or whatever the image
// readers recognise): no crash, no picture beyond the size cap decoded, and a
// loaded picture is always the 256 x 256 grid; a refused one leaves it as it was.
#include "fontpicture.h"
#include "fuzzfields.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    FontPicture picture;
    const QImage before = picture.image();
    const FileError loaded = picture.loadData(bytes, QStringLiteral("fuzz"));
    FUZZ_CHECK(picture.image().size() == QSize(FontPicture::kSize, FontPicture::kSize));
    if (!loaded.ok())
        FUZZ_CHECK(picture.image() == before && !loaded.detail().isEmpty());
    return 0;
}
