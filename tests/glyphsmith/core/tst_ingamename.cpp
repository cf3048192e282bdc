// SPDX-License-Identifier: GPL-3.0-or-later
#include "gamemodes.h"
#include "ingamename.h"
#include "namecomposer.h"

#include <QTest>

Q_DECLARE_METATYPE(FamilyId)

class TestInGameName : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void render_data();
    void render();
    void deletedColourCodeDrawsWhite();
};

void TestInGameName::render_data()
{
    QTest::addColumn<FamilyId>("family");
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<bool>("quoted");
    QTest::addColumn<QByteArray>("drawn");
    QTest::addColumn<QByteArray>("colours"); // one digit per glyph; '-' for none
    QTest::addColumn<bool>("oldNameKept");
    QTest::addColumn<bool>("replaced");

    using F = FamilyId;
    QTest::newRow("colour codes applied")
        << F::Quake3 << QByteArray("^7A^1BC^5") << true << QByteArray("ABC") << QByteArray("711")
        << false << false;
    QTest::newRow("name starts white") << F::Quake3 << QByteArray("A^3B") << true
                                       << QByteArray("AB") << QByteArray("73") << false << false;
    QTest::newRow("letter codes use the engine's index")
        << F::Quake3 << QByteArray("^aA^zB") << true << QByteArray("AB") << QByteArray("12")
        << false << false;
    QTest::newRow("black removed") << F::Quake3 << QByteArray("^7a^0b^8c") << true
                                   << QByteArray("abc") << QByteArray("777") << false << false;
    QTest::newRow("^^0 eats the next letter as a colour")
        << F::Quake3 << QByteArray("^7x^^0AB") << true << QByteArray("xB") << QByteArray("71")
        << false << false;
    QTest::newRow("caret before punctuation drawn")
        << F::Quake3 << QByteArray("^2^!") << true << QByteArray("^!") << QByteArray("22") << false
        << false;
    QTest::newRow("dots for high bytes") << F::Quake3 << QByteArray("^7\xe9%") << true
                                         << QByteArray("..") << QByteArray("77") << false << false;
    QTest::newRow("cut at 35 bytes")
        << F::Quake3 << QByteArray("^1") + QByteArray(40, 'x') << true << QByteArray(33, 'x')
        << QByteArray(33, '1') << false << false;
    QTest::newRow("refused: UnnamedPlayer in white")
        << F::Quake3 << QByteArray("^1a;b") << true << QByteArray("UnnamedPlayer")
        << QByteArray(13, '7') << false << true;
    QTest::newRow("Quake II draws the plain glyph")
        << F::Quake2 << QByteArray("\xc1\xe2\x85z") << true << QByteArray("Abz")
        << QByteArray("---") << false << false;
    QTest::newRow("Quake II cut at 15")
        << F::Quake2 << QByteArray(20, 'q') << true << QByteArray(15, 'q') << QByteArray(15, '-')
        << false << false;
    QTest::newRow("QuakeWorld keeps high bytes, drops 1-13, trims")
        << F::QuakeWorld << QByteArray(" \x05\xc1\x1f ") << true << QByteArray("\xc1\x1f")
        << QByteArray("--") << false << false;
    QTest::newRow("QuakeWorld refusal keeps the old name")
        << F::QuakeWorld << QByteArray("a\\b") << true << QByteArray() << QByteArray() << true
        << false;
    QTest::newRow("QuakeWorld empty name")
        << F::QuakeWorld << QByteArray("\x0b") << true << QByteArray("unnamed")
        << QByteArray(7, '-') << false << true;
    QTest::newRow("the game gets the name up to the broken line")
        << F::QuakeWorld << QByteArray("ab\"c") << true << QByteArray("ab") << QByteArray("--")
        << false << false;
    QTest::newRow("Hexen II cut at the brace")
        << F::Hexen2 << QByteArray("ab{cd") << true << QByteArray("ab") << QByteArray("--") << false
        << false;
    QTest::newRow("hexadecimal pairs decoded")
        << F::Quake2Hex << QByteArray("41ff6a") << true << QByteArray("A\xffj") << QByteArray("---")
        << false << false;
    QTest::newRow("Unreal underscores") << F::UnrealTournament << QByteArray("a b") << false
                                        << QByteArray("a_b") << QByteArray("---") << false << false;
    QTest::newRow("unknown game: raw name unchanged")
        << F::JumpGate << QByteArray(" a\n\xe9\"") << true << QByteArray(" a\n\xe9\"")
        << QByteArray(5, '-') << false << false;
}

void TestInGameName::render()
{
    QFETCH(FamilyId, family);
    QFETCH(QByteArray, raw);
    QFETCH(bool, quoted);
    QFETCH(QByteArray, drawn);
    QFETCH(QByteArray, colours);
    QFETCH(bool, oldNameKept);
    QFETCH(bool, replaced);

    const InGameName view = InGameName::render(raw, GameFamilies::family(family), quoted);
    QByteArray bytes, colourDigits;
    for (const InGameName::Glyph &g : view.glyphs) {
        bytes += char(g.byte);
        colourDigits += g.colour < 0 ? '-' : char('0' + g.colour);
    }
    QCOMPARE(bytes, drawn);
    QCOMPARE(colourDigits, colours);
    QCOMPARE(view.oldNameKept, oldNameKept);
    QCOMPARE(view.replaced, replaced);
}

// Delete takes a slot's colour code with its glyph; the strip still shows the later
// letters in that colour, but the game draws them white.
void TestInGameName::deletedColourCodeDrawsWhite()
{
    NameComposer c;
    c.applyFiller(TableFiller::Quake3);
    const QImage picture(256, 256, QImage::Format_RGB32);
    c.clickCell('A', picture);
    c.setColorCode(GameModes::colours()[1].code); // red
    c.clickCell('B', picture);
    c.clickCell('C', picture);
    c.selectSlot(2);
    c.deleteChar();

    const InGameName view =
        InGameName::render(c.rawName(), GameFamilies::family(FamilyId::Quake3), true);
    QCOMPARE(view.glyphs.size(), 3);
    QCOMPARE(view.glyphs[2].byte, uchar('C'));
    QCOMPARE(view.glyphs[2].colour, 7);
}

QTEST_GUILESS_MAIN(TestInGameName)
#include "tst_ingamename.moc"
