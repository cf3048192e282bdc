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

} // namespace

class TestGifReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsLikeThePlugin_data();
    void readsLikeThePlugin();
    void truncatedFilesAreRefused();
    void damagedFilesNeverOverrun();
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

QTEST_GUILESS_MAIN(TestGifReader)
#include "tst_gifreader.moc"
