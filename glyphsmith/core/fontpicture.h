#pragma once

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

    struct LoadResult
    {
        bool ok = false;
        QString message; // names the file and the reason on failure
    };

    // On failure the picture stays as it was.
    LoadResult load(const QString &path);
    // The same for a file's bytes; `path` only names it in the message.
    LoadResult loadData(const QByteArray &bytes, const QString &path);

    const QImage &image() const { return m_image; }

    // The 16 x 16 glyph of cell 0..255, copied 1:1.
    QImage glyph(int cell) const;

private:
    QImage m_image;
};
