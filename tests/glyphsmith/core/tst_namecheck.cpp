// SPDX-License-Identifier: GPL-3.0-or-later
#include "namecheck.h"

#include <QTest>
#include <algorithm>

Q_DECLARE_METATYPE(FamilyId)

namespace {

// "S2 R5 O15": each finding as its kind's letter and raw position, sorted.
QByteArray shape(const QList<NameFinding> &findings)
{
    QList<QByteArray> parts;
    for (const NameFinding &f : findings) {
        static const char letters[] = {'O', 'R', 'C', 'S'};
        parts.append(letters[int(f.kind)] + QByteArray::number(f.position));
    }
    std::sort(parts.begin(), parts.end());
    return parts.join(' ');
}

QByteArray letters(int n)
{
    QByteArray s;
    for (int i = 0; i < n; ++i)
        s += char('a' + i % 26);
    return s;
}

} // namespace

class TestNameCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void check_data();
    void check();
    void firstScriptBreak_data();
    void firstScriptBreak();
};

void TestNameCheck::check_data()
{
    QTest::addColumn<FamilyId>("family");
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<bool>("quoted");
    QTest::addColumn<QByteArray>("findings");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("detail"); // appears in one finding's text

    using F = FamilyId;
    const QByteArray q3 = "^7";

    // Reading the script line.
    QTest::newRow("line feed breaks the line")
        << F::QuakeWorld << QByteArray("ab\ncd") << true << QByteArray("S2")
        << "QuakeWorld: 2 of 15 bytes - the script line breaks at byte 3"
        << "new console command";
    QTest::newRow("carriage return breaks the line")
        << F::Quake3 << q3 + "ab\rcd" << true << QByteArray("S4")
        << "Quake III: 4 of 35 bytes - the script line breaks at byte 5"
        << "carriage return";
    QTest::newRow("code 0 ends the script")
        << F::Quake3 << q3 + QByteArray("a\0b", 3) << true << QByteArray("S3")
        << "Quake III: 3 of 35 bytes - the script line breaks at byte 4"
        << "nothing after it";
    QTest::newRow("quote closes a quoted name")
        << F::QuakeWorld << QByteArray("ab\"c;quit") << true << QByteArray("S2")
        << "QuakeWorld: 2 of 15 bytes - the script line breaks at byte 3"
        << "console commands";
    QTest::newRow("semicolon inside quotes is harmless")
        << F::Hexen2 << QByteArray("a;b") << true << QByteArray()
        << "Hexen II: 3 of 15 bytes - fine"
        << "";
    QTest::newRow("unknown game: only the line is checked")
        << F::Icq << QByteArray("ab\ncd") << false << QByteArray("S2")
        << "ICQ: 5 bytes - the script line breaks at byte 3; nothing is known of this game's limits"
        << "";
    QTest::newRow("unknown game: nothing said")
        << F::StarCraft << QByteArray("a/b\\\xe9") << false << QByteArray()
        << "StarCraft: 5 bytes - nothing is known of this game's limits"
        << "";

    // Quake and QuakeWorld.
    QTest::newRow("fifteen bytes fit") << F::QuakeWorld << letters(15) << true << QByteArray()
                                       << "QuakeWorld: 15 of 15 bytes - fine"
                                       << "";
    QTest::newRow("scoreboard shows 15")
        << F::QuakeWorld << letters(27) << true << QByteArray("O15")
        << "QuakeWorld: the scoreboard shows 15 of 27 bytes"
        << "The scoreboard shows 15 bytes";
    QTest::newRow("server keeps 31")
        << F::QuakeWorld << letters(32) << true << QByteArray("O15 O31")
        << "QuakeWorld: the scoreboard shows 15 of 32 bytes"
        << "The server keeps 31 bytes";
    QTest::newRow("player info under 64")
        << F::QuakeWorld << letters(64) << true << QByteArray("O63")
        << "QuakeWorld: 64 bytes - the game keeps the old name"
        << "at most 63 bytes";
    QTest::newRow("backslash keeps the old name")
        << F::QuakeWorld << QByteArray("a\\b") << true << QByteArray("R1")
        << "QuakeWorld: 3 bytes - the game keeps the old name"
        << "'\\'";
    QTest::newRow("quote outside quotes keeps the old name")
        << F::QuakeWorld << QByteArray("a\"b") << false << QByteArray("R1")
        << "QuakeWorld: 3 bytes - the game keeps the old name"
        << "The quote";
    QTest::newRow("codes 1 to 13 dropped")
        << F::QuakeWorld
        << QByteArray("\x01"
                      "a\x09\x0b"
                      "b\x0e\x1f\xe9")
        << true << QByteArray("C0 C2 C3") << "QuakeWorld: 5 of 15 bytes - the game changes 3 bytes"
        << "Code 1 is dropped from the player info";
    QTest::newRow("blanks trimmed")
        << F::QuakeWorld << QByteArray("  ab") << true << QByteArray("C0 C1")
        << "QuakeWorld: 2 of 15 bytes - the game changes 2 bytes"
        << "at the start is trimmed";
    QTest::newRow("nothing left becomes unnamed")
        << F::QuakeWorld << QByteArray("\x05 ") << true << QByteArray("C0 C0 C1")
        << "QuakeWorld: 0 of 15 bytes - the game shows unnamed"
        << "'unnamed'";
    QTest::newRow("console becomes unnamed")
        << F::QuakeWorld << QByteArray("CoNsOlE") << true << QByteArray("C0")
        << "QuakeWorld: 7 of 15 bytes - the game shows unnamed"
        << "'console'";

    // Quake II.
    QTest::newRow("Quake II keeps 15") << F::Quake2 << letters(16) << true << QByteArray("O15")
                                       << "Quake II: the game keeps 15 of 16 bytes"
                                       << "";
    QTest::newRow("Quake II player info under 64")
        << F::Quake2 << letters(64) << true << QByteArray("O63")
        << "Quake II: 64 bytes - the player has no name"
        << "loses the name";
    QTest::newRow("Quake II backslash refuses the name")
        << F::Quake2 << QByteArray("a\\b") << true << QByteArray("R1")
        << "Quake II: 3 bytes - the game keeps the old name"
        << "refuses the whole name";
    QTest::newRow("Quake II semicolon refuses the name")
        << F::Quake2 << QByteArray("a;b") << true << QByteArray("R1")
        << "Quake II: 3 bytes - the game keeps the old name"
        << "';'";
    QTest::newRow("Quake II strips the high bit")
        << F::Quake2 << QByteArray("\xc1z") << true << QByteArray("C0")
        << "Quake II: 2 of 15 bytes - the game changes 1 byte"
        << "Code 193 loses its high bit and becomes 'A'";
    QTest::newRow("Quake II drops control codes")
        << F::Quake2 << QByteArray("a\x1f\x7f\x85 ~") << true << QByteArray("C1 C2 C3")
        << "Quake II: 3 of 15 bytes - the game changes 3 bytes"
        << "as code 5, is dropped";

    // Hexen II.
    QTest::newRow("Hexen II keeps 15") << F::Hexen2 << letters(16) << true << QByteArray("O15")
                                       << "Hexen II: the game keeps 15 of 16 bytes"
                                       << "";
    QTest::newRow("brace cuts the name")
        << F::Hexen2 << QByteArray("ab{c}") << true << QByteArray("R2")
        << "Hexen II: 5 of 15 bytes - the name ends at byte 3"
        << "'{' ends the name";
    QTest::newRow("brace past the limit is cut anyway")
        << F::Hexen2 << letters(15) + '{' << true << QByteArray("O15")
        << "Hexen II: the game keeps 15 of 16 bytes"
        << "";

    // Quake III: colour codes count against the 35 bytes.
    QTest::newRow("35 bytes with colour codes fit")
        << F::Quake3 << q3 + letters(33) << true << QByteArray()
        << "Quake III: 35 of 35 bytes - fine"
        << "";
    QTest::newRow("colour codes overflow")
        << F::Quake3 << q3 + letters(11) + "^1" + letters(11) + "^2" + letters(11) << true
        << QByteArray("O35") << "Quake III: the game keeps 35 of 39 bytes"
        << "";
    QTest::newRow("backslash leaves the player unnamed")
        << F::Quake3 << q3 + "a\\b" << true << QByteArray("R3")
        << "Quake III: 5 bytes - the player becomes UnnamedPlayer"
        << "'UnnamedPlayer'";
    QTest::newRow("semicolon leaves the player unnamed")
        << F::Quake3 << q3 + "a;b" << true << QByteArray("R3")
        << "Quake III: 5 bytes - the player becomes UnnamedPlayer"
        << "";
    QTest::newRow("high bytes and percent arrive as dots")
        << F::Quake3 << q3 + "a\xe9%" << true << QByteArray("C3 C4")
        << "Quake III: 5 of 35 bytes - the game changes 2 bytes"
        << "'%' arrives as '.'";
    QTest::newRow("leading blanks dropped")
        << F::Quake3 << "  " + q3 + "a" << true << QByteArray("C0 C1")
        << "Quake III: 3 of 35 bytes - the game changes 2 bytes"
        << "leading blank";
    QTest::newRow("blank after a leading colour code stays")
        << F::Quake3 << q3 + " a" << true << QByteArray() << "Quake III: 4 of 35 bytes - fine"
        << "";
    QTest::newRow("three blanks in a row stay")
        << F::Quake3 << q3 + "a   b" << true << QByteArray() << "Quake III: 7 of 35 bytes - fine"
        << "";
    QTest::newRow("colour code between blanks restarts the count")
        << F::Quake3 << q3 + "a  ^1  b" << true << QByteArray()
        << "Quake III: 10 of 35 bytes - fine"
        << "";
    QTest::newRow("blanks beyond three dropped")
        << F::Quake3 << q3 + "a     b" << true << QByteArray("C6 C7")
        << "Quake III: 7 of 35 bytes - the game changes 2 bytes"
        << "fourth blank";
    QTest::newRow("black removed") << F::Quake3 << q3 + "a^0b^8c" << true << QByteArray("C3 C6")
                                   << "Quake III: 5 of 35 bytes - the game changes 2 bytes"
                                   << "^8 selects black";
    QTest::newRow("ioquake3 turns ^^0 into ^")
        << F::Quake3 << q3 + "a^^0bc" << true << QByteArray("C4 C6")
        << "Quake III: 6 of 35 bytes - the game changes 2 bytes"
        << "turns ^^0 into ^";
    QTest::newRow("caret before punctuation is drawn")
        << F::Quake3 << q3 + "a^!" << true << QByteArray() << "Quake III: 5 of 35 bytes - fine"
        << "";
    QTest::newRow("nothing but colour codes")
        << F::Quake3 << q3 + "^1" << true << QByteArray("C0")
        << "Quake III: 4 of 35 bytes - the game shows UnnamedPlayer"
        << "but colour codes";
    QTest::newRow("35 bytes end inside a black code")
        << F::Quake3 << q3 + letters(32) + "^0b" << true << QByteArray("C34")
        << "Quake III: 35 of 35 bytes - the game changes 1 byte"
        << "caret stays";

    // Unreal Tournament.
    QTest::newRow("blanks become underscores")
        << F::UnrealTournament << QByteArray("a b") << false << QByteArray("C1")
        << "Unreal Tournament: 3 of 20 bytes - the game changes 1 byte"
        << "'_'";
    QTest::newRow("login, deathmatch and name command limits")
        << F::UnrealTournament << letters(29) << false << QByteArray("O20 O24 O28")
        << "Unreal Tournament: at login the game keeps 20 of 29 bytes"
        << "A deathmatch game keeps 24";
}

void TestNameCheck::check()
{
    QFETCH(FamilyId, family);
    QFETCH(QByteArray, raw);
    QFETCH(bool, quoted);
    QFETCH(QByteArray, findings);
    QFETCH(QString, summary);
    QFETCH(QString, detail);

    const NameVerdict verdict = NameCheck::check(raw, GameFamilies::family(family), quoted);
    QCOMPARE(shape(verdict.findings), findings);
    QCOMPARE(verdict.summary, summary);
    QCOMPARE(verdict.fine, findings.isEmpty());
    QStringList texts;
    for (const NameFinding &f : verdict.findings)
        texts << f.text;
    QVERIFY2(texts.join('\n').contains(detail), qPrintable(texts.join('\n')));
}

void TestNameCheck::firstScriptBreak_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<bool>("quoted");
    QTest::addColumn<int>("position");

    QTest::newRow("empty") << QByteArray() << true << -1;
    QTest::newRow("plain") << QByteArray("a;b//c\\") << true << -1;
    QTest::newRow("quote in quotes") << QByteArray("ab\"\n") << true << 2;
    QTest::newRow("quote unquoted") << QByteArray("ab\"\n") << false << 3;
    QTest::newRow("code 0") << QByteArray("a\0\r", 3) << false << 1;
    QTest::newRow("carriage return first") << QByteArray("\ra") << true << 0;
}

void TestNameCheck::firstScriptBreak()
{
    QFETCH(QByteArray, raw);
    QFETCH(bool, quoted);
    QFETCH(int, position);
    QCOMPARE(NameCheck::firstScriptBreak(raw, quoted), position);
}

QTEST_GUILESS_MAIN(TestNameCheck)
#include "tst_namecheck.moc"
