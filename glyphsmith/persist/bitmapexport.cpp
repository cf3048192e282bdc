#include "bitmapexport.h"

#include "atomicfile.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <algorithm>

namespace {

constexpr int kLockTimeoutMs = 5000;

} // namespace

namespace BitmapExport {

int copyWidth(int namePos)
{
    // 15.3 x namePos in integers, so 76.5 rounds to 76 and not to whatever the
    // nearest double happens to be.
    const int tenths = 153 * std::clamp(namePos, 1, 26);
    int width = tenths / 10;
    const int rest = tenths % 10;
    if (rest > 5 || (rest == 5 && width % 2 == 1))
        ++width;
    return width;
}

QImage exportPicture(const QImage &strip, int namePos, int scale)
{
    if (scale != 2 && scale != 4)
        scale = 1;
    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    picture.fill(Qt::black);
    const int width = std::min(copyWidth(namePos), strip.width());
    const int height = std::min(kCopyHeight, strip.height());
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(0, 0), strip, QRect(0, 0, width, height));
    painter.end();
    // Nearest neighbour: glyph pixels stay hard squares, for signatures and clan pages.
    return picture.scaled(picture.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .convertToFormat(QImage::Format_RGB888);
}

FileError save(const QImage &picture, const QString &path, const QByteArray &format)
{
    // Encoded in memory first (the picture is small), so that the file sees only
    // checked writes of a complete picture.
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    // RGB888 makes the BMP writer use 24 bits per pixel.
    if (!writer.write(picture.convertToFormat(QImage::Format_RGB888)))
        return {FileError::Kind::WriteError, path, writer.errorString()};

    AtomicFile file(path);
    if (FileError begun = file.begin(kLockTimeoutMs); !begun.ok())
        return begun;
    if (FileError written = file.write(encoded); !written.ok())
        return written;
    return file.commit();
}

} // namespace BitmapExport
