#include "fontpicture.h"

#include "gridgeometry.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

FontPicture::FontPicture() : m_image(kSize, kSize, QImage::Format_RGB32)
{
    m_image.fill(Qt::black);
}

FontPicture::LoadResult FontPicture::load(const QString &path)
{
    if (path.isEmpty())
        return {false, QStringLiteral("No font picture was chosen.")};
    if (!QFileInfo::exists(path))
        return {false, QStringLiteral("The font picture %1 could not be loaded: the file does not exist.")
                           .arg(path)};

    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QImage loaded = reader.read();
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
