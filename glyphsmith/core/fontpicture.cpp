#include "fontpicture.h"

#include "gifreader.h"
#include "gridgeometry.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

namespace {

// The format the file's first bytes name, among those a font picture may be in;
// empty for anything else.
QByteArray formatFromSignature(const QByteArray &head)
{
    if (head.startsWith("GIF8"))
        return QByteArrayLiteral("gif");
    if (head.startsWith("BM"))
        return QByteArrayLiteral("bmp");
    if (head.startsWith("\xFF\xD8\xFF"))
        return QByteArrayLiteral("jpeg");
    return {};
}

} // namespace

FontPicture::FontPicture() : m_image(kSize, kSize, QImage::Format_RGB32)
{
    m_image.fill(Qt::black);
}

FontPicture::LoadResult FontPicture::load(const QString &path)
{
    if (path.isEmpty())
        return {false, QStringLiteral("No font picture was chosen.")};
    if (!QFileInfo::exists(path))
        return {false,
                QStringLiteral("The font picture %1 could not be loaded: the file does not exist.")
                    .arg(path)};

    // The content decides the format, not the name. Naming it to the reader when
    // the signature is plain spares loading every image plugin to ask each one;
    // anything else is left to the reader's own detection.
    QFile file(path);
    QImageReader reader;
    const QByteArray format =
        file.open(QIODevice::ReadOnly) ? formatFromSignature(file.peek(4)) : QByteArray();
    QImage loaded;
    if (format == "gif") {
        loaded = GifReader::readPlain(file.readAll());
        file.seek(0);
    }
    if (loaded.isNull()) {
        if (format.isEmpty()) {
            file.close();
            reader.setFileName(path);
            reader.setDecideFormatFromContent(true);
        } else {
            reader.setDevice(&file);
            reader.setFormat(format);
            reader.setAutoDetectImageFormat(false);
        }
        loaded = reader.read();
    }
    if (loaded.isNull()) {
        return {false, QStringLiteral("The font picture %1 could not be loaded: %2.")
                           .arg(path, reader.errorString())};
    }

    // Glyphs are read from the top-left corner; whatever the file does not cover
    // stays black, and anything beyond 256 x 256 is not part of the grid.
    QImage picture(kSize, kSize, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(QPoint(0, 0), loaded.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                      QRect(0, 0, kSize, kSize));
    painter.end();
    m_image = picture;
    return {true, {}};
}

QImage FontPicture::glyph(int cell) const
{
    if (cell < 0 || cell >= GridGeometry::kCells)
        return {};
    const QPoint origin = GridGeometry::glyphOrigin(cell);
    return m_image.copy(origin.x(), origin.y(), GridGeometry::kGlyph, GridGeometry::kGlyph);
}
