// SPDX-License-Identifier: GPL-3.0-or-later
#include "gamedatabuilders.h"
#include "tgareader.h"

#include <QTest>

using namespace GameDataBuilders;

namespace {

// Four columns, three rows, every pixel different, one half transparent.
QImage sample()
{
    QImage image(4, 3, QImage::Format_ARGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            image.setPixel(x, y, qRgba(40 * x, 80 * y, 200, x == 3 ? 128 : 255));
    return image;
}

} // namespace

class TestTgaReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsRowsAndPixels_data();
    void readsRowsAndPixels();
    void runsContinueIntoTheNextRow();
};

void TestTgaReader::readsRowsAndPixels_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("order");
    QTest::addColumn<QImage>("expected");

    const QImage upright = sample();
    const QImage flipped = upright.mirrored(false, true);
    QImage opaque(4, 3, QImage::Format_ARGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            opaque.setPixel(x, y, upright.pixel(x, y) | 0xFF000000u);
    // Type 3, 8 bits: twelve grey levels, bottom row first.
    QByteArray grey = tga(QImage(4, 3, QImage::Format_ARGB32), TgaRows::BottomUp).left(18);
    grey[2] = 3;
    grey[16] = 8;
    grey[17] = 0;
    QImage greyImage(4, 3, QImage::Format_ARGB32);
    for (int i = 0; i < 12; ++i) {
        grey += char(i * 20);
        greyImage.setPixel(i % 4, 2 - i / 4, qRgb(i * 20, i * 20, i * 20));
    }

    const int quake3 = int(TgaReader::RowOrder::AsQuake3);
    const int header = int(TgaReader::RowOrder::AsHeader);
    QTest::newRow("bottom-up") << tga(upright, TgaRows::BottomUp) << quake3 << upright;
    QTest::newRow("top-down flag ignored, as Quake III ignores it")
        << tga(upright, TgaRows::TopDown) << quake3 << flipped;
    QTest::newRow("top-down flag honoured on request")
        << tga(upright, TgaRows::TopDown) << header << upright;
    QTest::newRow("run-length, bottom-up")
        << tga(upright, TgaRows::BottomUp, true) << quake3 << upright;
    QTest::newRow("24 bits are opaque")
        << tga(upright, TgaRows::BottomUp, false, 24) << quake3 << opaque;
    QTest::newRow("8-bit grey") << grey << quake3 << greyImage;
}

void TestTgaReader::readsRowsAndPixels()
{
    QFETCH(QByteArray, file);
    QFETCH(int, order);
    QFETCH(QImage, expected);

    const auto image = TgaReader::read(file, TgaReader::RowOrder(order));
    QVERIFY2(image.ok(), qPrintable(image.error.detail));
    QCOMPARE(image.value, expected.convertToFormat(QImage::Format_ARGB32));
}

void TestTgaReader::runsContinueIntoTheNextRow()
{
    // Three rows of four: one run of six red pixels (the bottom row and half the
    // next), a raw packet of four pixels crossing into the top row, then a run
    // of two blue pixels, and a run too long that ends with the picture.
    QByteArray file = tga(QImage(4, 3, QImage::Format_ARGB32), TgaRows::BottomUp, true, 24);
    file.truncate(18);
    const QByteArray red("\x00\x00\xFF", 3);
    const QByteArray green("\x00\xFF\x00", 3);
    const QByteArray blue("\xFF\x00\x00", 3);
    file += char(0x80 | 5) + red;
    file += char(3) + green + green + green + green;
    file += char(0x80 | 127) + blue;

    const auto image = TgaReader::read(file);
    QVERIFY2(image.ok(), qPrintable(image.error.detail));
    const QRgb r = qRgb(255, 0, 0), g = qRgb(0, 255, 0), b = qRgb(0, 0, 255);
    const QList<QList<QRgb>> rows{{g, g, b, b}, {r, r, g, g}, {r, r, r, r}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            QCOMPARE(image.value.pixel(x, y), rows[y][x]);
}

QTEST_GUILESS_MAIN(TestTgaReader)
#include "tst_tgareader.moc"
