#include "fontpicture.h"

#include "gifreader.h"
#include "gridgeometry.h"
#include "textfile.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>

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
    if (head.startsWith("\x89PNG"))
        return QByteArrayLiteral("png");
    return {};
}

// Whether every chunk of a PNG file lies within the file. The PNG library
// allocates a chunk's claimed length before reading it: a 200-byte file claiming
// a 2 GB text chunk would take 2 GB.
bool pngChunksFit(const QByteArray &bytes)
{
    constexpr qsizetype kSignature = 8;
    constexpr qsizetype kFraming = 12; // length, type and check sum
    qsizetype at = kSignature;
    while (at + kFraming <= bytes.size()) {
        const quint32 length = qFromBigEndian<quint32>(bytes.constData() + at);
        if (length > quint32(bytes.size() - at - kFraming))
            return false;
        if (bytes.mid(at + 4, 4) == "IEND")
            return true;
        at += kFraming + qsizetype(length);
    }
    // Cut short between chunks: the reader says what is missing.
    return true;
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

    // The content decides the format, not the name; naming it to the reader spares
    // loading every image plugin to ask each one.
    const QByteArray format = formatFromSignature(bytes.left(4));
    // Only the formats whose readers are checked against hostile files here; any
    // other image plugin installed on the machine is not asked.
    if (format.isEmpty())
        return {FileError::Kind::Foreign, path,
                QStringLiteral("it is not a BMP, GIF, JPEG or PNG picture")};
    if (format == "png" && !pngChunksFit(bytes))
        return {FileError::Kind::Foreign, path,
                QStringLiteral("it is damaged: a part of it claims more bytes than the file "
                               "holds")};
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
    // Only the corner is converted: a picture of kMaxSide a side would otherwise be
    // copied whole, 64 MB for the 256 KB the grid uses.
    const QRect corner(QPoint(0, 0), loaded.size().boundedTo(QSize(kSize, kSize)));
    painter.drawImage(QPoint(0, 0),
                      loaded.copy(corner).convertToFormat(QImage::Format_ARGB32_Premultiplied));
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
