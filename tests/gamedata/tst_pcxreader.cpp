// SPDX-License-Identifier: GPL-3.0-or-later
#include "gamedatabuilders.h"
#include "pcxreader.h"

#include <QTest>

using namespace GameDataBuilders;

class TestPcxReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsAsQuake2Does_data();
    void readsAsQuake2Does();
};

void TestPcxReader::readsAsQuake2Does_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("pixels"); // empty: refused
    QTest::addColumn<int>("kind");

    const QByteArray header = pcx(QByteArray(12, '\0'), 4, 3, palette()).left(128);
    const QByteArray tail = '\x0C' + palette();
    auto with = [&](int at, char value) {
        QByteArray changed = header;
        changed[at] = value;
        return changed;
    };
    const int ok = GameDataError::None;

    QTest::newRow("runs and single bytes")
        << header + "\xC4\x07" + "\x01\x02\xC1\xC5\x09" + "\xC2\x03\xC2\x04" + tail
        << QByteArray("\x07\x07\x07\x07\x01\x02\xC5\x09\x03\x03\x04\x04", 12) << ok;
    QTest::newRow("a run longer than its row ends there")
        << header + "\xFF\x05" + "\xC4\x06" + "\xC4\x08" + tail
        << QByteArray("\x05\x05\x05\x05\x06\x06\x06\x06\x08\x08\x08\x08", 12) << ok;
    QTest::newRow("three colour planes") << with(65, 3) + QByteArray(64, '\0') + tail
                                         << QByteArray() << int(GameDataError::Unsupported);
    QTest::newRow("wider than Quake II reads") << with(9, 3) + QByteArray(64, '\0') + tail
                                               << QByteArray() << int(GameDataError::Unsupported);
    // 600 pixels a row, but the file ends after 768 of them.
    QByteArray wide = pcx(QByteArray(3 * 600, '\0'), 600, 3, palette()).left(128);
    QTest::newRow("pixels running into the end")
        << wide + QByteArray(768, '\x01') << QByteArray() << int(GameDataError::Damaged);
}

void TestPcxReader::readsAsQuake2Does()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, pixels);
    QFETCH(int, kind);

    const auto picture = PcxReader::read(file);
    QCOMPARE(picture.error.kind, GameDataError::Kind(kind));
    if (pixels.isEmpty())
        return;
    QCOMPARE(picture.value.width, 4);
    QCOMPARE(picture.value.height, 3);
    QCOMPARE(picture.value.indices, pixels);
    QCOMPARE(picture.value.palette, palette());
}

QTEST_GUILESS_MAIN(TestPcxReader)
#include "tst_pcxreader.moc"
