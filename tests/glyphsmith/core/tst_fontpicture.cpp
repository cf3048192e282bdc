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

} // namespace

class TestFontPicture : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oversizedPicturesAreRefused_data();
    void oversizedPicturesAreRefused();
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

QTEST_GUILESS_MAIN(TestFontPicture)
#include "tst_fontpicture.moc"
