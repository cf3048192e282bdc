// SPDX-License-Identifier: GPL-3.0-or-later
#include "fontpicture.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

// The headers alone: enough for any reader to learn the size, and all a hostile
// file needs to make a careless one allocate gigabytes.
QByteArray bmpHeader(qint32 width, qint32 height)
{
    QByteArray out(54, '\0');
    char *d = out.data();
    d[0] = 'B';
    d[1] = 'M';
    qToLittleEndian<quint32>(54, d + 10);
    qToLittleEndian<quint32>(40, d + 14);
    qToLittleEndian<qint32>(width, d + 18);
    qToLittleEndian<qint32>(height, d + 22);
    qToLittleEndian<quint16>(1, d + 26);
    qToLittleEndian<quint16>(24, d + 28);
    return out;
}

QByteArray gifHeader(quint16 width, quint16 height)
{
    QByteArray out("GIF89a");
    out.append(char(width & 0xFF)).append(char(width >> 8));
    out.append(char(height & 0xFF)).append(char(height >> 8));
    return out.append(char(0x80)).append('\0').append('\0').append(QByteArray(6, '\0'));
}

// A 1 x 1 PNG whose text chunk, placed before the picture data, claims `claimed` bytes.
QByteArray pngWithTextChunk(quint32 claimed)
{
    QByteArray out("\x89PNG\r\n\x1a\n", 8);
    auto chunk = [&out](const char *type, const QByteArray &data, quint32 length) {
        char len[4];
        qToBigEndian<quint32>(length, len);
        out.append(len, 4).append(type, 4).append(data).append(4, '\0');
    };
    QByteArray ihdr(13, '\0');
    qToBigEndian<quint32>(1, ihdr.data());
    qToBigEndian<quint32>(1, ihdr.data() + 4);
    ihdr[8] = 8;
    chunk("IHDR", ihdr, 13);
    chunk("tEXt", "a\0b", claimed);
    chunk("IEND", {}, 0);
    return out;
}

} // namespace

class TestFontPicture : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oversizedPicturesAreRefused_data();
    void oversizedPicturesAreRefused();
    void damagedAndForeignFilesAreRefused_data();
    void damagedAndForeignFilesAreRefused();
};

void TestFontPicture::oversizedPicturesAreRefused_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("size");
    QTest::newRow("BMP of 8000 x 8000") << bmpHeader(8000, 8000) << "8000 x 8000";
    QTest::newRow("BMP of 5000 x 16") << bmpHeader(5000, 16) << "5000 x 16";
    QTest::newRow("GIF of 65535 x 65535") << gifHeader(65535, 65535) << "65535 x 65535";
    QTest::newRow("GIF of 16 x 4097") << gifHeader(16, 4097) << "16 x 4097";
}

void TestFontPicture::oversizedPicturesAreRefused()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, size);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("font.bmp"));
    QVERIFY(TestFiles::writeBytes(path, file));
    FontPicture picture;
    const QImage before = picture.image();
    const FileError loaded = picture.load(path);
    QCOMPARE(loaded.kind(), FileError::Kind::TooLarge);
    QCOMPARE(loaded.path(), path);
    QCOMPARE(loaded.detail(), QStringLiteral("it is %1 pixels, more than the 4096 x 4096 a font "
                                             "picture may have")
                                  .arg(size));
    QCOMPARE(picture.image(), before);
}

void TestFontPicture::damagedAndForeignFilesAreRefused_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("detail");
    const QString damaged =
        QStringLiteral("it is damaged: a part of it claims more bytes than the file holds");
    QTest::newRow("PNG chunk claiming 2 GB") << pngWithTextChunk(0x7FFFFFF0) << damaged;
    QTest::newRow("PNG chunk one byte past the end") << pngWithTextChunk(16) << damaged;
    QTest::newRow("picture in another format")
        << QByteArray("/* XPM */\nstatic char *x[] = {\"1 1 1 1\", \"a c #000\", \"a\"};\n")
        << QStringLiteral("it is not a BMP, GIF, JPEG or PNG picture");
}

void TestFontPicture::damagedAndForeignFilesAreRefused()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, detail);

    FontPicture picture;
    const QImage before = picture.image();
    const FileError loaded = picture.loadData(file, QStringLiteral("font.png"));
    QCOMPARE(loaded.kind(), FileError::Kind::Foreign);
    QCOMPARE(loaded.detail(), detail);
    QCOMPARE(picture.image(), before);
}

QTEST_GUILESS_MAIN(TestFontPicture)
#include "tst_fontpicture.moc"
