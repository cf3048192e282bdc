#include "gridgeometry.h"
#include "namecomposer.h"
#include "namestripimage.h"

#include <QSignalSpy>
#include <QTest>

// A picture whose every glyph is a distinct flat colour, so a copied glyph tells
// which cell it came from.
static QImage numberedPicture()
{
    QImage image(256, 256, QImage::Format_RGB32);
    for (int cell = 0; cell < 256; ++cell) {
        const QPoint o = GridGeometry::glyphOrigin(cell);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                image.setPixel(o.x() + x, o.y() + y, qRgb(cell, 255 - cell, (x * 16 + y) & 0xff));
    }
    return image;
}

static QByteArray slotTexts(const NameComposer &c)
{
    QByteArray all;
    for (int i = 1; i <= NameComposer::kSlots; ++i)
        all += c.slotText(i) + '|';
    return all;
}

class TestNameComposer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addChar_data();
    void addChar();
    void glyphsCopiedFromClickedCell_data();
    void glyphsCopiedFromClickedCell();
    void newNameClearsSlotsButKeepsMode();
    void deleteRebuildsOutputs();
    void deleteLastCharacterThenSave();
    void deletePastTheEndClearsSlot25();
    void backspaceClearsTheSlotBeforeTheMarker_data();
    void backspaceClearsTheSlotBeforeTheMarker();
    void selectSlotLeavesGaps();
    void setSlotsActsAsClicks();
    void selectSlotRejectsOutOfRange();
    void quake3ColourCodeOnlyOnFirstCharacter();
    void noModeReportsErrorAndStillAdvances();
    void outputsFramedByMode_data();
    void outputsFramedByMode();
    void stripShowsGlyphsAndMarker();
};

void TestNameComposer::addChar_data()
{
    QTest::addColumn<QList<int>>("cells");
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<int>("namePos");
    QTest::addColumn<int>("marker");

    QTest::newRow("three letters") << QList<int>{65, 66, 67} << QByteArray("ABC") << 4 << 48;
    QTest::newRow("nothing") << QList<int>{} << QByteArray() << 1 << 0;
    QTest::newRow("25 fill the name") << QList<int>(25, 65) << QByteArray(25, 'A') << 26 << 384;
    QList<int> twentySix(25, 65);
    twentySix << 66;
    QTest::newRow("26th replaces 25th") << twentySix << QByteArray(24, 'A') + 'B' << 26 << 384;
    QTest::newRow("trailing blank glyph dropped")
        << QList<int>{65, 32} << QByteArray("A") << 3 << 32;
    QTest::newRow("inner blank kept") << QList<int>{65, 32, 66} << QByteArray("A B") << 4 << 48;
}

void TestNameComposer::addChar()
{
    QFETCH(QList<int>, cells);
    QFETCH(QByteArray, raw);
    QFETCH(int, namePos);
    QFETCH(int, marker);

    NameComposer c;
    c.applyFiller(TableFiller::QuakeEngine);
    const QImage picture = numberedPicture();
    for (int cell : cells)
        QVERIFY(c.clickCell(cell, picture).isEmpty());

    QCOMPARE(c.rawName(), raw);
    QCOMPARE(c.commandText(), c.cmdPrefix() + raw + c.cmdSuffix());
    QCOMPARE(c.namePos(), namePos);
    QCOMPARE(c.markerLeft(), marker);
}

void TestNameComposer::glyphsCopiedFromClickedCell_data()
{
    QTest::addColumn<int>("cell");
    QTest::newRow("cell 0 at (0,0)") << 0;
    QTest::newRow("cell 17 at (16,16)") << 17;
    QTest::newRow("cell 255 at (240,240)") << 255;
}

void TestNameComposer::glyphsCopiedFromClickedCell()
{
    QFETCH(int, cell);
    NameComposer c;
    c.applyFiller(TableFiller::Ascii);
    const QImage picture = numberedPicture();
    c.clickCell(cell, picture);
    const QPoint o = GridGeometry::glyphOrigin(cell);
    QCOMPARE(c.slotGlyph(1), picture.copy(o.x(), o.y(), 16, 16));
    QVERIFY(c.slotGlyph(2).isNull());
}

void TestNameComposer::newNameClearsSlotsButKeepsMode()
{
    NameComposer c;
    c.applyFiller(TableFiller::Hex);
    const QImage picture = numberedPicture();
    c.clickCell(171, picture);
    c.clickCell(205, picture);
    QCOMPARE(c.rawName(), QByteArray("ABCD"));

    QSignalSpy spy(&c, &NameComposer::nameChanged);
    c.newName();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(c.rawName(), QByteArray());
    QCOMPARE(c.commandText(), QByteArray("name \"\"u //GLYPHSMITH v6.1"));
    QCOMPARE(c.namePos(), 1);
    QCOMPARE(c.markerLeft(), 0);
    QCOMPARE(slotTexts(c), QByteArray(" |").repeated(25));
    for (int i = 1; i <= 25; ++i)
        QVERIFY(c.slotGlyph(i).isNull());
    // The mode survives: the next character is still written in hexadecimal.
    c.clickCell(65, picture);
    QCOMPARE(c.rawName(), QByteArray("41"));
}

void TestNameComposer::deleteRebuildsOutputs()
{
    NameComposer c;
    c.applyFiller(TableFiller::QuakeEngine);
    const QImage picture = numberedPicture();
    for (int cell : {65, 66, 67})
        c.clickCell(cell, picture);
    c.selectSlot(2);
    c.deleteChar();
    QCOMPARE(c.slotText(2), QByteArray(" "));
    QVERIFY(c.slotGlyph(2).isNull());
    QCOMPARE(c.namePos(), 2);
    // The boxes follow at once: a copy never holds a character the strip no longer shows.
    QCOMPARE(c.rawName(), QByteArray("A C"));
    QCOMPARE(c.commandText(), c.cmdPrefix() + "A C" + c.cmdSuffix());

    c.clickCell(88, picture);
    QCOMPARE(c.rawName(), QByteArray("AXC"));
}

void TestNameComposer::deleteLastCharacterThenSave()
{
    NameComposer c;
    c.applyFiller(TableFiller::QuakeEngine);
    const QImage picture = numberedPicture();
    for (int cell : {65, 66, 67})
        c.clickCell(cell, picture);
    c.selectSlot(3);
    c.deleteChar();
    QCOMPARE(c.rawName(), QByteArray("AB"));
    c.clickCell(90, picture);
    QCOMPARE(c.rawName(), QByteArray("ABZ"));
}

void TestNameComposer::deletePastTheEndClearsSlot25()
{
    NameComposer c;
    c.applyFiller(TableFiller::QuakeEngine);
    const QImage picture = numberedPicture();
    for (int i = 0; i < 25; ++i)
        c.clickCell(65 + (i % 26), picture);
    QCOMPARE(c.namePos(), 26);
    const QByteArray before = slotTexts(c);
    c.deleteChar();
    QCOMPARE(c.slotText(25), QByteArray(" "));
    QVERIFY(c.slotGlyph(25).isNull());
    QCOMPARE(slotTexts(c).left(24 * 2), before.left(24 * 2));
    QCOMPARE(c.namePos(), 26);
    QCOMPARE(c.markerLeft(), 384);
}

void TestNameComposer::backspaceClearsTheSlotBeforeTheMarker_data()
{
    QTest::addColumn<int>("letters"); // A, B, C, ... clicked in turn
    QTest::addColumn<int>("select");  // the slot chosen before Backspace; 0: none
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<int>("namePos");
    QTest::newRow("after the last letter") << 3 << 0 << QByteArray("AB") << 3;
    QTest::newRow("in the middle: later letters stay") << 3 << 2 << QByteArray(" BC") << 1;
    QTest::newRow("at slot 1 nothing happens") << 3 << 1 << QByteArray("ABC") << 1;
    QTest::newRow("empty name") << 0 << 0 << QByteArray() << 1;
    QTest::newRow("past the end: slot 25 goes")
        << 25 << 0 << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWX") << 25;
}

void TestNameComposer::backspaceClearsTheSlotBeforeTheMarker()
{
    QFETCH(int, letters);
    QFETCH(int, select);
    QFETCH(QByteArray, raw);
    QFETCH(int, namePos);
    NameComposer c;
    c.applyFiller(TableFiller::QuakeEngine);
    const QImage picture = numberedPicture();
    for (int i = 0; i < letters; ++i)
        c.clickCell(65 + i, picture);
    c.selectSlot(select);
    const int cleared = c.namePos() - 1;
    QSignalSpy changed(&c, &NameComposer::nameChanged);
    c.deleteCharBefore();
    QCOMPARE(c.rawName(), raw);
    QCOMPARE(c.namePos(), namePos);
    QCOMPARE(changed.size(), cleared >= 1 ? 1 : 0);
    if (cleared >= 1)
        QVERIFY(c.slotGlyph(cleared).isNull());
    // The next click fills the slot that was cleared.
    c.clickCell(90, picture);
    QCOMPARE(c.slotText(namePos), QByteArray("Z"));
}

void TestNameComposer::setSlotsActsAsClicks()
{
    NameComposer c;
    c.applyFiller(TableFiller::Quake3);
    const QImage picture = numberedPicture();
    const QImage glyph = picture.copy(16, 64, 16, 16);
    c.setSlots({{"X", glyph}, {"Y", glyph}, {"Z", glyph}});
    c.setColorCode("^2");
    c.setSlots({{"^1A", glyph}, {"B", glyph}});
    QCOMPARE(c.slotText(1), QByteArray("^1A"));
    QCOMPARE(c.slotGlyph(2), glyph);
    QCOMPARE(c.namePos(), 3);
    // Nothing of the old name stays, and a colour pending before counts as written.
    c.clickCell(67, picture);
    QCOMPARE(c.rawName(), QByteArray("^1ABC"));

    c.setSlots(QList<NameComposer::Slot>(26, {"x", glyph}));
    QCOMPARE(c.rawName(), QByteArray(25, 'x'));
    QCOMPARE(c.namePos(), 26);
}

void TestNameComposer::selectSlotLeavesGaps()
{
    NameComposer c;
    c.applyFiller(TableFiller::QuakeEngine);
    c.selectSlot(5);
    QCOMPARE(c.markerLeft(), 64);
    QCOMPARE(c.rawName(), QByteArray()); // selection alone rebuilds nothing
    c.clickCell(88, numberedPicture());
    QCOMPARE(c.rawName(), QByteArray("    X"));
    QCOMPARE(c.namePos(), 6);
}

void TestNameComposer::selectSlotRejectsOutOfRange()
{
    NameComposer c;
    c.applyFiller(TableFiller::QuakeEngine);
    c.selectSlot(3);
    for (int bad : {0, 26, -1, 1000}) {
        c.selectSlot(bad);
        QCOMPARE(c.namePos(), 3);
    }
}

void TestNameComposer::quake3ColourCodeOnlyOnFirstCharacter()
{
    NameComposer c;
    c.applyFiller(TableFiller::Quake3);
    const QImage picture = numberedPicture();
    c.clickCell(65, picture);
    c.clickCell(66, picture);
    QCOMPARE(c.slotText(1), QByteArray("^7A"));
    QCOMPARE(c.slotText(2), QByteArray("B"));

    // New Name keeps the code as used.
    c.newName();
    c.clickCell(67, picture);
    QCOMPARE(c.slotText(1), QByteArray("C"));

    c.setColorCode("^1");
    c.setColorCode("^4"); // only the last pick is written
    c.clickCell(68, picture);
    c.clickCell(69, picture);
    QCOMPARE(c.rawName(), QByteArray("C^4DE"));
    QCOMPARE(c.commandText(), QByteArray("name \"C^4DE^7\" //GLYPHSMITH v6.1"));

    // Entering the mode again brings white back.
    c.setColorCode("^5");
    c.applyFiller(TableFiller::Quake3);
    c.clickCell(65, picture);
    QCOMPARE(c.rawName(), QByteArray("^7A"));
}

void TestNameComposer::noModeReportsErrorAndStillAdvances()
{
    NameComposer c;
    const QString error = c.clickCell(65, numberedPicture());
    QCOMPARE(error, QStringLiteral("ERROR - Could not determine game."));
    QCOMPARE(c.slotText(1), QByteArray(" "));
    QVERIFY(!c.slotGlyph(1).isNull());
    QCOMPARE(c.namePos(), 2);
}

void TestNameComposer::outputsFramedByMode_data()
{
    QTest::addColumn<int>("filler");
    QTest::addColumn<QList<int>>("cells");
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("emptyCommand");

    QTest::newRow("quake engine") << int(TableFiller::QuakeEngine)
                                  << QList<int>{65, 0, 10, 13, 26, 255}
                                  << QByteArray("A\x05\"\x0e\x9a\xa0")
                                  << QByteArray("name \"A\x05\"\x0e\x9a\xa0\" //GLYPHSMITH v6.1")
                                  << QByteArray("name \"\" //GLYPHSMITH v6.1");
    QTest::newRow("hexadecimal") << int(TableFiller::Hex) << QList<int>{171, 205, 12, 13, 14}
                                 << QByteArray("ABCD0C0D0E")
                                 << QByteArray("name \"ABCD0C0D0E\"u //GLYPHSMITH v6.1")
                                 << QByteArray("name \"\"u //GLYPHSMITH v6.1");
    QTest::newRow("quake 3") << int(TableFiller::Quake3) << QList<int>{34, 9, 65}
                             << QByteArray("^7~   A")
                             << QByteArray("name \"^7~   A^7\" //GLYPHSMITH v6.1")
                             << QByteArray("name \"^7\" //GLYPHSMITH v6.1");
    QTest::newRow("ascii, blank last") << int(TableFiller::Ascii) << QList<int>{0, 64, 255}
                                       << QByteArray("\x01"
                                                     "A")
                                       << QByteArray("\x01"
                                                     "A")
                                       << QByteArray();
}

void TestNameComposer::outputsFramedByMode()
{
    QFETCH(int, filler);
    QFETCH(QList<int>, cells);
    QFETCH(QByteArray, raw);
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, emptyCommand);

    NameComposer c;
    c.applyFiller(TableFiller::Ascii);
    c.applyFiller(TableFiller(filler));
    QCOMPARE(c.commandText(), emptyCommand);
    for (int cell : cells)
        c.clickCell(cell, numberedPicture());
    QCOMPARE(c.rawName(), raw);
    QCOMPARE(c.commandText(), command);
}

void TestNameComposer::stripShowsGlyphsAndMarker()
{
    NameComposer c;
    c.applyFiller(TableFiller::QuakeEngine);
    const QImage picture = numberedPicture();
    c.clickCell(65, picture);
    c.clickCell(200, picture);

    const QImage strip = NameStripImage::render(c);
    QCOMPARE(strip.size(), QSize(NameStripImage::kWidth, NameStripImage::kHeight));
    QCOMPARE(strip.copy(0, 0, 16, 16), picture.copy(16, 64, 16, 16));
    QCOMPARE(strip.copy(16, 0, 16, 16), picture.copy(128, 192, 16, 16));
    QCOMPARE(strip.pixel(40, 8), qRgb(0, 0, 0));          // blank slot 3
    QCOMPARE(strip.pixel(32 + 8, 20), qRgb(255, 255, 0)); // marker under slot 3
    QVERIFY(strip.pixel(8, 20) != qRgb(255, 255, 0));
}

QTEST_GUILESS_MAIN(TestNameComposer)
#include "tst_namecomposer.moc"
