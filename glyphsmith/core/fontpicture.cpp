#include "fontpicture.h"

#include "gifreader.h"
#include "gridgeometry.h"
#include "textfile.h"

#include <QBuffer>
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

FileError FontPicture::load(const QString &path)
{
    const TextFile::Contents contents = TextFile::read(path, kMaxFileSize);
    if (!contents.error.ok())
        return contents.error;
    if (!contents.exists)
        return {FileError::Kind::NotFound, path, QStringLiteral("the file does not exist")};
    return loadData(contents.data, path);
}

FileError FontPicture::loadData(const QByteArray &bytes, const QString &path)
{
    static_assert(GifReader::kMaxSide == kMaxSide);
    auto tooLarge = [&](QSize size) {
        return FileError(FileError::Kind::TooLarge, path,
                         QStringLiteral("it is %1 x %2 pixels, more than the %3 x %3 a font "
                                        "picture may have")
                             .arg(size.width())
                             .arg(size.height())
                             .arg(kMaxSide));
    };

    // The content decides the format, not the name. Naming it to the reader when
    // the signature is plain spares loading every image plugin to ask each one;
    // anything else is left to the reader's own detection.
    const QByteArray format = formatFromSignature(bytes.left(4));
    QImage loaded;
    if (format == "gif") {
        const QSize size = GifReader::screenSize(bytes);
        if (size.width() > kMaxSide || size.height() > kMaxSide)
            return tooLarge(size);
        loaded = GifReader::readPlain(bytes);
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    if (loaded.isNull()) {
        if (format.isEmpty())
            reader.setDecideFormatFromContent(true);
        else
            reader.setAutoDetectImageFormat(false);
        // The header's claim first: decoding a picture of 20000 x 20000 would
        // take gigabytes before anything could refuse it.
        const QSize size = reader.size();
        if (size.width() > kMaxSide || size.height() > kMaxSide)
            return tooLarge(size);
        // And the reader's own limit, for what the header did not say.
        const int limit = QImageReader::allocationLimit();
        QImageReader::setAllocationLimit(int(kMaxSide * kMaxSide * 4 / (1024 * 1024)));
        loaded = reader.read();
        QImageReader::setAllocationLimit(limit);
    }
    if (loaded.isNull())
        return {FileError::Kind::Foreign, path, reader.errorString()};
    if (loaded.width() > kMaxSide || loaded.height() > kMaxSide)
        return tooLarge(loaded.size());
    setImage(loaded);
    return {};
}

void FontPicture::setImage(const QImage &loaded)
{
    // Glyphs are read from the top-left corner; whatever the picture does not
    // cover stays black, and anything beyond 256 x 256 is not part of the grid.
    QImage picture(kSize, kSize, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(QPoint(0, 0), loaded.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                      QRect(0, 0, kSize, kSize));
    painter.end();
    m_image = picture;
}

QImage FontPicture::glyph(int cell) const
{
    if (cell < 0 || cell >= GridGeometry::kCells)
        return {};
    const QPoint origin = GridGeometry::glyphOrigin(cell);
    return m_image.copy(origin.x(), origin.y(), GridGeometry::kGlyph, GridGeometry::kGlyph);
}
