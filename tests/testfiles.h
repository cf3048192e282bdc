#pragma once

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>

// Byte-exact file access for tests. A file that cannot be read reads as
// "<unreadable>", so a failed comparison tells it apart from an empty file.
namespace TestFiles {

inline QByteArray readBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return f.readAll();
}

[[nodiscard]] inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A 256 x 256 font picture whose every glyph differs, for tests that need any picture.
inline QImage somePicture()
{
    QImage image(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x)
            image.setPixel(x, y, qRgb(x, y, (x * y) & 0xFF));
    }
    return image;
}

} // namespace TestFiles
