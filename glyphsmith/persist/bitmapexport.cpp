#include "bitmapexport.h"

#include <QPainter>
#include <QSaveFile>
#include <algorithm>

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

QImage exportPicture(const QImage &strip, int namePos)
{
    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    picture.fill(Qt::black);
    const int width = std::min(copyWidth(namePos), strip.width());
    const int height = std::min(kCopyHeight, strip.height());
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(0, 0), strip, QRect(0, 0, width, height));
    painter.end();
    return picture.convertToFormat(QImage::Format_RGB888);
}

Result save(const QImage &picture, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, int(file.error()), file.errorString()};
    // RGB888 makes the BMP writer use 24 bits per pixel.
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    if (!rgb.save(&file, "BMP")) {
        Result failed{false, int(QFileDevice::WriteError),
                      QStringLiteral("The bitmap could not be written.")};
        if (file.error() != QFileDevice::NoError) {
            failed.errorNumber = int(file.error());
            failed.message = file.errorString();
        }
        file.cancelWriting();
        return failed;
    }
    if (!file.commit())
        return {false, int(file.error()), file.errorString()};
    return {true, 0, {}};
}

} // namespace BitmapExport
