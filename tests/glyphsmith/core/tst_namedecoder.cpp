// SPDX-License-Identifier: GPL-3.0-or-later
#include "gamemodes.h"
#include "namecomposer.h"
#include "namedecoder.h"

#include <QTest>

Q_DECLARE_METATYPE(TableFiller)

using CellMap = QMap<int, int>;

namespace {

const QImage &blankPicture()
{
    static const QImage picture = [] {
        QImage image(256, 256, QImage::Format_RGB32);
        image.fill(Qt::black);
        return image;
    }();
    return picture;
}

QByteArray joined(const DecodedName &name)
{
    QByteArray raw;
    for (const DecodedName::Slot &slot : name.slots)
        raw += slot.text;
    return raw;
}

} // namespace

class TestNameDecoder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyCellRoundTrips_data();
    void everyCellRoundTrips();
    void colouredQuake3RoundTrips();
    void decode_data();
    void decode();
};

// Each cell composed before a '!' glyph (so a trailing blank survives), read back.
// Look-alike cells come back as the cell that decoding prefers for their text.
void TestNameDecoder::everyCellRoundTrips_data()
{
    QTest::addColumn<TableFiller>("filler");
    QTest::addColumn<int>("bang"); // the cell that yields '!'
    QTest::addColumn<CellMap>("lookAlikes");

    QTest::newRow("Quake engine") << TableFiller::QuakeEngine << 33
                                  << QMap<int, int>{{0, 5},    {10, 34},  {13, 14},
                                                    {26, 154}, {96, 39},  {127, 166},
                                                    {160, 32}, {162, 34}, {254, 166}};
    QTest::newRow("hexadecimal") << TableFiller::Hex << 33 << QMap<int, int>{};
    QMap<int, int> q3{{4, 3}, {34, 126}, {96, 39}};
    for (int blank : {0, 5, 10, 12, 13, 22, 27, 58, 95, 132, 137, 138, 140, 155, 160, 255})
        q3.insert(blank, 32);
    QTest::newRow("Quake III") << TableFiller::Quake3 << 33 << q3;
    QTest::newRow("ASCII") << TableFiller::Ascii << 32 << QMap<int, int>{{255, 31}};
}

void TestNameDecoder::everyCellRoundTrips()
{
    QFETCH(TableFiller, filler);
    QFETCH(int, bang);
    QFETCH(CellMap, lookAlikes);

    for (int cell = 0; cell < 256; ++cell) {
        NameComposer c;
        c.applyFiller(filler);
        c.clickCell(cell, blankPicture());
        c.clickCell(bang, blankPicture());
        const DecodedName name = DecodedName::decode(c.rawName(), filler);

        const QByteArray where = "cell " + QByteArray::number(cell);
        QVERIFY2(name.slots.size() == 2, where);
        QVERIFY2(name.unmatched.isEmpty() && name.leftover.isEmpty(), where);
        QCOMPARE(name.slots[0].text, c.slotText(1));
        QCOMPARE(name.slots[1].text, c.slotText(2));
        QCOMPARE(joined(name), c.rawName());
        QCOMPARE(name.slots[0].cell, lookAlikes.value(cell, cell));
        QCOMPARE(name.slots[1].cell, bang);
    }
}

void TestNameDecoder::colouredQuake3RoundTrips()
{
    // Every colour of the list, each on its own glyph, and one glyph that keeps it.
    NameComposer c;
    c.applyFiller(TableFiller::Quake3);
    QList<int> colours{7};
    c.clickCell('Q', blankPicture());
    for (const ColourInfo &colour : GameModes::colours()) {
        c.setColorCode(colour.code);
        c.clickCell('a' + int(colours.size()), blankPicture());
        c.clickCell('#', blankPicture());
        colours << colour.gameIndex << colour.gameIndex;
    }
    const DecodedName name = DecodedName::decode(c.rawName(), TableFiller::Quake3);

    QCOMPARE(name.slots.size(), colours.size());
    for (int i = 0; i < name.slots.size(); ++i) {
        QCOMPARE(name.slots[i].text, c.slotText(i + 1));
        QCOMPARE(name.slots[i].colour, colours[i]);
    }
    QCOMPARE(joined(name), c.rawName());
}

void TestNameDecoder::decode_data()
{
    QTest::addColumn<TableFiller>("filler");
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QByteArrayList>("texts");
    QTest::addColumn<QList<int>>("cells");
    QTest::addColumn<QList<int>>("colours");
    QTest::addColumn<QList<int>>("unmatched");
    QTest::addColumn<QByteArray>("leftover");
    QTest::addColumn<bool>("truncated");

    using T = TableFiller;
    using L = QList<int>;
    QTest::newRow("hexadecimal in either case")
        << T::Hex << QByteArray("4a4B") << QByteArrayList{"4A", "4B"} << L{74, 75} << L{-1, -1}
        << L{} << QByteArray() << false;
    QTest::newRow("lone hexadecimal digit left over")
        << T::Hex << QByteArray("414") << QByteArrayList{"41"} << L{65} << L{-1} << L{}
        << QByteArray("4") << false;
    QTest::newRow("not hexadecimal") << T::Hex << QByteArray("41zz42") << QByteArrayList{"41", "42"}
                                     << L{65, 66} << L{-1, -1} << L{2, 3} << QByteArray() << false;
    QTest::newRow("bytes no cell yields are reported")
        << T::QuakeEngine
        << QByteArray("a\r\x1a"
                      "b")
        << QByteArrayList{"a", "b"} << L{97, 98} << L{-1, -1} << L{1, 2} << QByteArray() << false;
    QTest::newRow("26 glyphs: the first 25")
        << T::Ascii << QByteArray(26, 'A') << QByteArrayList(25, "A") << L(25, 64) << L(25, -1)
        << L{} << QByteArray() << true;
    QTest::newRow("a code after 25 glyphs is left over, not cut")
        << T::Quake3 << QByteArray(25, 'A') + "^1" << QByteArrayList(25, "A") << L(25, 65)
        << L(25, 7) << L{} << QByteArray("^1") << false;
    QTest::newRow("colour code with nothing after it")
        << T::Quake3 << QByteArray("A^1") << QByteArrayList{"A"} << L{65} << L{7} << L{}
        << QByteArray("^1") << false;
    QTest::newRow("several codes before one glyph")
        << T::Quake3 << QByteArray("^1^2A^zB") << QByteArrayList{"^1^2A", "^zB"} << L{65, 66}
        << L{2, 2} << L{} << QByteArray() << false;
    QTest::newRow("black from the colour list")
        << T::Quake3 << QByteArray("^^0A^7B") << QByteArrayList{"^^0A", "^7B"} << L{65, 66}
        << L{0, 7} << L{} << QByteArray() << false;
    QTest::newRow("quote: no Quake III cell yields it")
        << T::Quake3 << QByteArray("^1\"A") << QByteArrayList{"^1A"} << L{65} << L{1} << L{2}
        << QByteArray() << false;
    // Exceptions by nature: the composer can write these, but they read back (in the
    // game as here) otherwise.
    QTest::newRow("caret glyph before a letter is a colour code")
        << T::Quake3 << QByteArray("^7^A") << QByteArrayList{} << L{} << L{} << L{}
        << QByteArray("^7^A") << false;
    QTest::newRow("caret glyph before punctuation stays a glyph")
        << T::Quake3 << QByteArray("^7^!") << QByteArrayList{"^7^", "!"} << L{94, 33} << L{7, 7}
        << L{} << QByteArray() << false;
    QTest::newRow("caret, caret, 0 glyphs read as black")
        << T::Quake3 << QByteArray("^^0x") << QByteArrayList{"^^0x"} << L{120} << L{0} << L{}
        << QByteArray() << false;
    QTest::newRow("three blank glyphs become the three-blank cell")
        << T::Quake3 << QByteArray("a    b") << QByteArrayList{"a", "   ", " ", "b"}
        << L{97, 9, 32, 98} << L{7, 7, 7, 7} << L{} << QByteArray() << false;
}

void TestNameDecoder::decode()
{
    QFETCH(TableFiller, filler);
    QFETCH(QByteArray, raw);
    QFETCH(QByteArrayList, texts);
    QFETCH(QList<int>, cells);
    QFETCH(QList<int>, colours);
    QFETCH(QList<int>, unmatched);
    QFETCH(QByteArray, leftover);
    QFETCH(bool, truncated);

    const DecodedName name = DecodedName::decode(raw, filler);
    QByteArrayList gotTexts;
    QList<int> gotCells, gotColours;
    for (const DecodedName::Slot &slot : name.slots) {
        gotTexts << slot.text;
        gotCells << slot.cell;
        gotColours << slot.colour;
    }
    QCOMPARE(gotTexts, texts);
    QCOMPARE(gotCells, cells);
    QCOMPARE(gotColours, colours);
    QCOMPARE(name.unmatched, unmatched);
    QCOMPARE(name.leftover, leftover);
    QCOMPARE(name.truncated, truncated);
}

QTEST_GUILESS_MAIN(TestNameDecoder)
#include "tst_namedecoder.moc"
