#include "glyphtables.h"
#include "gridgeometry.h"

#include <QTest>

class TestGlyphTables : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void entries_data();
    void entries();
    void everyEntryWithoutNul_data();
    void everyEntryWithoutNul();
    void exceptionsAreTheOnlyDepartures_data();
    void exceptionsAreTheOnlyDepartures();
    void cellUnderPoint_data();
    void cellUnderPoint();
    void charNumberCaption();
};

void TestGlyphTables::entries_data()
{
    QTest::addColumn<int>("filler");
    QTest::addColumn<int>("cell");
    QTest::addColumn<QByteArray>("entry");

    const int q = int(TableFiller::QuakeEngine), h = int(TableFiller::Hex),
              t = int(TableFiller::Quake3), a = int(TableFiller::Ascii);
    QTest::newRow("quake 0 -> 5") << q << 0 << QByteArray("\x05");
    QTest::newRow("quake 10 -> quote") << q << 10 << QByteArray("\"");
    QTest::newRow("quake 13 -> 14") << q << 13 << QByteArray("\x0e");
    QTest::newRow("quake 26 -> 154") << q << 26 << QByteArray("\x9a");
    QTest::newRow("quake 96 -> apostrophe") << q << 96 << QByteArray("'");
    QTest::newRow("quake 160 -> blank") << q << 160 << QByteArray(" ");
    QTest::newRow("quake 255 -> 160") << q << 255 << QByteArray("\xa0");
    QTest::newRow("quake 65 itself") << q << 65 << QByteArray("A");
    QTest::newRow("hex 0") << h << 0 << QByteArray("00");
    QTest::newRow("hex 10 upper case") << h << 10 << QByteArray("0A");
    QTest::newRow("hex 171") << h << 171 << QByteArray("AB");
    QTest::newRow("hex 255") << h << 255 << QByteArray("FF");
    QTest::newRow("q3 4 -> 3") << t << 4 << QByteArray("\x03");
    QTest::newRow("q3 3 itself") << t << 3 << QByteArray("\x03");
    QTest::newRow("q3 9 three blanks") << t << 9 << QByteArray("   ");
    QTest::newRow("q3 34 -> tilde") << t << 34 << QByteArray("~");
    QTest::newRow("q3 127 itself") << t << 127 << QByteArray("\x7f");
    QTest::newRow("ascii 0 -> 1") << a << 0 << QByteArray("\x01");
    QTest::newRow("ascii 64 -> A") << a << 64 << QByteArray("A");
    QTest::newRow("ascii 254 -> 255") << a << 254 << QByteArray("\xff");
    QTest::newRow("ascii 255 blank") << a << 255 << QByteArray(" ");
}

void TestGlyphTables::entries()
{
    QFETCH(int, filler);
    QFETCH(int, cell);
    QFETCH(QByteArray, entry);
    QCOMPARE(GlyphTables::table(TableFiller(filler))[cell], entry);
}

void TestGlyphTables::everyEntryWithoutNul_data()
{
    QTest::addColumn<int>("filler");
    QTest::newRow("quake") << int(TableFiller::QuakeEngine);
    QTest::newRow("hex") << int(TableFiller::Hex);
    QTest::newRow("q3") << int(TableFiller::Quake3);
    QTest::newRow("ascii") << int(TableFiller::Ascii);
}

void TestGlyphTables::everyEntryWithoutNul()
{
    QFETCH(int, filler);
    for (const QByteArray &entry : GlyphTables::table(TableFiller(filler))) {
        QVERIFY(!entry.isEmpty());
        QVERIFY(!entry.contains('\0'));
    }
}

// Counting the entries that differ from the identity catches a stray substitute.
void TestGlyphTables::exceptionsAreTheOnlyDepartures_data()
{
    QTest::addColumn<int>("filler");
    QTest::addColumn<int>("departures");
    QTest::newRow("quake: 11 substitutes") << int(TableFiller::QuakeEngine) << 11;
    QTest::newRow("q3: 20 substitutes") << int(TableFiller::Quake3) << 20;
}

void TestGlyphTables::exceptionsAreTheOnlyDepartures()
{
    QFETCH(int, filler);
    QFETCH(int, departures);
    const GlyphTable &t = GlyphTables::table(TableFiller(filler));
    int count = 0;
    for (int i = 0; i < 256; ++i)
        count += t[i] != QByteArray(1, char(i));
    QCOMPARE(count, departures);
}

void TestGlyphTables::cellUnderPoint_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("cell");
    QTest::newRow("top left") << QPoint(0, 0) << 0;
    QTest::newRow("cell 65 centre") << QPoint(24, 72) << 65;
    QTest::newRow("cell 17") << QPoint(16, 16) << 17;
    QTest::newRow("last pixel of the last cell") << QPoint(256, 256) << 255;
    QTest::newRow("right of the grid") << QPoint(257, 10) << -1;
    QTest::newRow("below the grid") << QPoint(10, 257) << -1;
    QTest::newRow("negative") << QPoint(-1, 5) << -1;
}

void TestGlyphTables::cellUnderPoint()
{
    QFETCH(QPoint, point);
    QFETCH(int, cell);
    QCOMPARE(GridGeometry::cellAt(point), cell);
    if (cell >= 0)
        QVERIFY(GridGeometry::cellRect(cell).contains(point));
}

void TestGlyphTables::charNumberCaption()
{
    QCOMPARE(GridGeometry::charNumberCaption(0), QStringLiteral("Char Number: 1"));
    QCOMPARE(GridGeometry::charNumberCaption(255), QStringLiteral("Char Number: 256"));
    QCOMPARE(GridGeometry::charNumberCaption(-1), QStringLiteral("Char Number:"));
}

QTEST_GUILESS_MAIN(TestGlyphTables)
#include "tst_glyphtables.moc"
