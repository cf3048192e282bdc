// SPDX-License-Identifier: GPL-3.0-or-later
#include "gamemodes.h"
#include "ingamename.h"
#include "namecomposer.h"

#include <QTest>

Q_DECLARE_METATYPE(const GameFamily *)

namespace {

// The row the view follows: a family's target, its default where `key` is empty.
const GameFamily *target(FamilyId id, const char *key = "")
{
    return &GameFamilies::family(id, key);
}

} // namespace

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
    QTest::addColumn<const GameFamily *>("game");
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<bool>("quoted");
    QTest::addColumn<QByteArray>("drawn");
    QTest::addColumn<QByteArray>("colours"); // one digit per glyph; '-' for none
    // "": the player's bytes; "old": the old name stays; "own": the game's own text;
    // "away": the server refuses the connection.
    QTest::addColumn<QByteArray>("state");

    using F = FamilyId;
    QTest::newRow("colour codes applied") << target(F::Quake3) << QByteArray("^7A^1BC^5") << true
                                          << QByteArray("ABC") << QByteArray("711") << QByteArray();
    QTest::newRow("name starts white") << target(F::Quake3) << QByteArray("A^3B") << true
                                       << QByteArray("AB") << QByteArray("73") << QByteArray();
    QTest::newRow("letter codes use the engine's index")
        << target(F::Quake3) << QByteArray("^aA^zB") << true << QByteArray("AB") << QByteArray("12")
        << QByteArray();
    QTest::newRow("black removed") << target(F::Quake3) << QByteArray("^7a^0b^8c") << true
                                   << QByteArray("abc") << QByteArray("777") << QByteArray();
    QTest::newRow("^^0 eats the next letter as a colour")
        << target(F::Quake3) << QByteArray("^7x^^0AB") << true << QByteArray("xB")
        << QByteArray("71") << QByteArray();
    QTest::newRow("caret before punctuation drawn")
        << target(F::Quake3) << QByteArray("^2^!") << true << QByteArray("^!") << QByteArray("22")
        << QByteArray();
    QTest::newRow("dots for high bytes") << target(F::Quake3) << QByteArray("^7\xe9%") << true
                                         << QByteArray("..") << QByteArray("77") << QByteArray();
    QTest::newRow("cut at 35 bytes")
        << target(F::Quake3) << QByteArray("^1") + QByteArray(40, 'x') << true
        << QByteArray(33, 'x') << QByteArray(33, '1') << QByteArray();
    QTest::newRow("refused: UnnamedPlayer in white")
        << target(F::Quake3) << QByteArray("^1a;b") << true << QByteArray("UnnamedPlayer")
        << QByteArray(13, '7') << QByteArray("own");
    QTest::newRow("Quake II draws the plain glyph")
        << target(F::Quake2) << QByteArray("\xc1\xe2\x85z") << true << QByteArray("Abz")
        << QByteArray("---") << QByteArray();
    QTest::newRow("Quake II cut at 15")
        << target(F::Quake2) << QByteArray(20, 'q') << true << QByteArray(15, 'q')
        << QByteArray(15, '-') << QByteArray();
    QTest::newRow("QuakeWorld keeps high bytes, drops 1-13, trims")
        << target(F::QuakeWorld) << QByteArray(" \x05\xc1\x1f ") << true << QByteArray("\xc1\x1f")
        << QByteArray("--") << QByteArray();
    QTest::newRow("id's QuakeWorld refusal keeps the old name")
        << target(F::QuakeWorld, "idqw") << QByteArray("a\\b") << true << QByteArray()
        << QByteArray() << QByteArray("old");
    QTest::newRow("QuakeWorld empty name")
        << target(F::QuakeWorld) << QByteArray("\x0b") << true << QByteArray("unnamed")
        << QByteArray(7, '-') << QByteArray("own");
    QTest::newRow("the game gets the name up to the broken line")
        << target(F::QuakeWorld) << QByteArray("ab\"c") << true << QByteArray("ab")
        << QByteArray("--") << QByteArray();
    QTest::newRow("today's server draws unnamed for a dollar")
        << target(F::QuakeWorld) << QByteArray("A$B") << true << QByteArray("unnamed")
        << QByteArray(7, '-') << QByteArray("own");
    QTest::newRow("today's server draws Console as unnamed")
        << target(F::QuakeWorld) << QByteArray("Console") << true << QByteArray("unnamed")
        << QByteArray(7, '-') << QByteArray("own");
    QTest::newRow("today's server trims the gold blank")
        << target(F::QuakeWorld)
        << QByteArray("\xa0"
                      "AB")
        << true << QByteArray("AB") << QByteArray("--") << QByteArray();
    QTest::newRow("today's server cuts at a backslash at connect")
        << target(F::QuakeWorld) << QByteArray("a\\b") << true << QByteArray("a") << QByteArray("-")
        << QByteArray();
    QTest::newRow("today's server refuses &c: nothing drawn")
        << target(F::QuakeWorld) << QByteArray("C&c900D") << true << QByteArray() << QByteArray()
        << QByteArray("away");
    QTest::newRow("ezQuake's scoreboard shows 15")
        << target(F::QuakeWorld) << QByteArray(20, 'w') << true << QByteArray(15, 'w')
        << QByteArray(15, '-') << QByteArray();
    QTest::newRow("OpenArena keeps black beside a colour")
        << target(F::Quake3, "openarena") << QByteArray("^0Bl^1A") << true << QByteArray("BlA")
        << QByteArray("001") << QByteArray();
    QTest::newRow("ioquake3 drops that black")
        << target(F::Quake3) << QByteArray("^0Bl^1A") << true << QByteArray("BlA")
        << QByteArray("771") << QByteArray();
    QTest::newRow("OpenArena draws an all-black name white")
        << target(F::Quake3, "openarena") << QByteArray("^0Black") << true << QByteArray("Black")
        << QByteArray(5, '7') << QByteArray();
    QTest::newRow("OpenArena: a coloured empty name is Nameless")
        << target(F::Quake3, "openarena") << QByteArray("^1^2") << true << QByteArray("Nameless")
        << QByteArray(8, '7') << QByteArray("own");
    QTest::newRow("OpenArena's ^8 is orange, ^a is drawn")
        << target(F::Quake3, "openarena") << QByteArray("^8x^ay") << true << QByteArray("x^ay")
        << QByteArray("8888") << QByteArray();
    QTest::newRow("Hexen II cut at the brace")
        << target(F::Hexen2) << QByteArray("ab{cd") << true << QByteArray("ab") << QByteArray("--")
        << QByteArray();
    QTest::newRow("hexadecimal pairs decoded")
        << target(F::Quake2Hex) << QByteArray("41ff6a") << true << QByteArray("A\xffj")
        << QByteArray("---") << QByteArray();
    QTest::newRow("Unreal underscores") << target(F::UnrealTournament) << QByteArray("a b") << false
                                        << QByteArray("a_b") << QByteArray("---") << QByteArray();
    QTest::newRow("unknown game: raw name unchanged")
        << target(F::JumpGate) << QByteArray(" a\n\xe9\"") << true << QByteArray(" a\n\xe9\"")
        << QByteArray(5, '-') << QByteArray();
}

void TestInGameName::render()
{
    QFETCH(const GameFamily *, game);
    QFETCH(QByteArray, raw);
    QFETCH(bool, quoted);
    QFETCH(QByteArray, drawn);
    QFETCH(QByteArray, colours);
    QFETCH(QByteArray, state);

    const InGameName view = InGameName::render(raw, *game, quoted);
    QByteArray bytes, colourDigits;
    for (const InGameName::Glyph &g : view.glyphs) {
        bytes += char(g.byte);
        colourDigits += g.colour < 0 ? '-' : char('0' + g.colour);
    }
    QCOMPARE(bytes, drawn);
    QCOMPARE(colourDigits, colours);
    QCOMPARE(view.oldNameKept, state == "old");
    QCOMPARE(view.replaced, state == "own");
    QCOMPARE(view.connectionRefused, state == "away");
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
