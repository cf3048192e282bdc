#include "gifreader.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QImage pluginRead(const QByteArray &bytes)
{
    return QImage::fromData(bytes, "GIF").convertToFormat(QImage::Format_ARGB32);
}

QString shipped(const QString &relative)
{
    return qEnvironmentVariable("GLYPH_PROGRAM_DIR") + QLatin1Char('/') + relative;
}

// A valid GIF of the given size, all pixels colour 1 of 256. Each pixel is its
// own 9-bit code, with a clear code well before the table would widen the codes.
QByteArray plainGif(int width, int height)
{
    QByteArray out("GIF89a");
    auto word = [&out](int v) { out.append(char(v & 0xFF)).append(char(v >> 8)); };
    word(width);
    word(height);
    out.append(char(0xF7)).append('\0').append('\0');
    for (int i = 0; i < 256; ++i)
        out.append(char(i)).append(char(i)).append(char(i));
    out.append(',');
    word(0);
    word(0);
    word(width);
    word(height);
    out.append('\0').append(char(8));

    QByteArray codes;
    quint32 bits = 0;
    int count = 0;
    auto put = [&](int code) {
        bits |= quint32(code) << count;
        for (count += 9; count >= 8; count -= 8, bits >>= 8)
            codes.append(char(bits & 0xFF));
    };
    const qint64 pixels = qint64(width) * height;
    for (qint64 i = 0; i < pixels; ++i) {
        if (i % 200 == 0)
            put(256);
        put(1);
    }
    put(257);
    if (count > 0)
        codes.append(char(bits & 0xFF));
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray block = codes.mid(at, 255);
        out.append(char(block.size())).append(block);
    }
    return out.append('\0').append(';');
}

} // namespace

class TestGifReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsLikeThePlugin_data();
    void readsLikeThePlugin();
    void truncatedFilesAreRefused();
    void damagedFilesNeverOverrun();
    void sizeIsCapped_data();
    void sizeIsCapped();
};

void TestGifReader::readsLikeThePlugin_data()
{
    QTest::addColumn<QString>("path");
    for (const char *name :
         {"qw/quakeworld.gif", "q2/quake2.gif", "hex/hexen.gif", "generic/ascii.gif",
          "jumpgate/jumpgate.gif", "q3a/q3-white.gif", "q3a/q3-black.gif", "q3a/q3-cyan.gif"})
        QTest::newRow(name) << shipped(QString::fromLatin1(name));
    QTest::newRow("interlaced rows") << QFINDTESTDATA("gifs/interlaced.gif");
    QTest::newRow("transparent index") << QFINDTESTDATA("gifs/transparent.gif");
    QTest::newRow("two colours, odd size") << QFINDTESTDATA("gifs/twocolour.gif");
}

void TestGifReader::readsLikeThePlugin()
{
    QFETCH(QString, path);
    const QByteArray bytes = fileBytes(path);
    QVERIFY2(!bytes.isEmpty(), qPrintable(path));
    const QImage ours = GifReader::readPlain(bytes);
    QVERIFY(!ours.isNull());
    QCOMPARE(ours.convertToFormat(QImage::Format_ARGB32), pluginRead(bytes));
}

void TestGifReader::truncatedFilesAreRefused()
{
    const QByteArray bytes = fileBytes(shipped(QStringLiteral("q3a/q3-red.gif")));
    QVERIFY(bytes.size() > 100);
    // Cutting inside the picture data leaves pixels missing; the trailer byte alone
    // may go.
    for (qsizetype cut = 0; cut < bytes.size() - 2; cut += 7)
        QVERIFY2(GifReader::readPlain(bytes.left(cut)).isNull(), qPrintable(QString::number(cut)));
}

void TestGifReader::damagedFilesNeverOverrun()
{
    // Under the address sanitizer this catches any read or write past a buffer.
    const QByteArray original = fileBytes(QFINDTESTDATA("gifs/interlaced.gif"));
    QVERIFY(!original.isEmpty());
    QRandomGenerator random(1234);
    for (int round = 0; round < 2000; ++round) {
        QByteArray damaged = original;
        const int changes = 1 + random.bounded(4);
        for (int i = 0; i < changes; ++i)
            damaged[random.bounded(int(damaged.size()))] = char(random.bounded(256));
        const QImage image = GifReader::readPlain(damaged);
        if (!image.isNull())
            QVERIFY(image.width() > 0 && image.height() > 0);
    }
}

void TestGifReader::sizeIsCapped_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QSize>("claimed");
    QTest::addColumn<bool>("read");

    const QByteArray huge = plainGif(1, 1).replace(6, 4, "\xFF\xFF\xFF\xFF");
    QTest::newRow("as wide as allowed")
        << plainGif(GifReader::kMaxSide, 2) << QSize(GifReader::kMaxSide, 2) << true;
    QTest::newRow("one pixel wider")
        << plainGif(GifReader::kMaxSide + 1, 2) << QSize(GifReader::kMaxSide + 1, 2) << false;
    QTest::newRow("one pixel higher")
        << plainGif(2, GifReader::kMaxSide + 1) << QSize(2, GifReader::kMaxSide + 1) << false;
    QTest::newRow("header claiming 65535 x 65535") << huge << QSize(65535, 65535) << false;
}

// The claim is refused before anything is allocated for it.
void TestGifReader::sizeIsCapped()
{
    QFETCH(QByteArray, file);
    QFETCH(QSize, claimed);
    QFETCH(bool, read);

    QCOMPARE(GifReader::screenSize(file), claimed);
    const QImage image = GifReader::readPlain(file);
    QCOMPARE(!image.isNull(), read);
    if (read)
        QCOMPARE(image.size(), claimed);
}

QTEST_GUILESS_MAIN(TestGifReader)
#include "tst_gifreader.moc"
