#pragma once

#include "fileerror.h"

#include <QImage>
#include <QString>

// A font picture: 16 rows of 16 glyphs of 16 x 16 pixels, read from the top-left
// corner of a BMP, GIF or JPEG file. Pixels the file does not cover are black.
// Always 256 x 256 once loaded. Pictures beyond kMaxSide pixels a side, and files
// beyond kMaxFileSize bytes, are refused before anything is decoded.
class FontPicture
{
public:
    static constexpr int kSize = 256;
    static constexpr int kMaxSide = 4096;
    // An uncompressed picture of kMaxSide a side, and its header.
    static constexpr qint64 kMaxFileSize = qint64(kMaxSide) * kMaxSide * 4 + 64 * 1024;

    // An empty (all-black) picture.
    FontPicture();

    // On failure the picture stays as it was: NotFound for a missing file, TooLarge
    // (detail: "it is W x H pixels, ...") beyond the caps, Foreign for anything
    // that is no picture (detail: the reader's reason), or the reading's own error.
    FileError load(const QString &path);
    // The same for a file's bytes; `path` only names the file in the error.
    FileError loadData(const QByteArray &bytes, const QString &path);
    // A picture made elsewhere (a game's own font): its top-left 256 x 256, the
    // rest black.
    void setImage(const QImage &picture);

    const QImage &image() const { return m_image; }

    // The 16 x 16 glyph of cell 0..255, copied 1:1.
    QImage glyph(int cell) const;

private:
    QImage m_image;
};
