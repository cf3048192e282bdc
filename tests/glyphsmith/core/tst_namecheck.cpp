// SPDX-License-Identifier: GPL-3.0-or-later
#include "namecheck.h"

#include <QSet>
#include <QTest>
#include <algorithm>

Q_DECLARE_METATYPE(const GameFamily *)
Q_DECLARE_METATYPE(NameOutcome::Result)

namespace {

// The row the check follows: a family's target, its default where `key` is empty.
const GameFamily *target(FamilyId id, const char *key = "")
{
    return &GameFamilies::family(id, key);
}

// "S2 R5 O15 E3": each finding as its kind's letter and raw position, sorted.
QByteArray shape(const QList<NameFinding> &findings)
{
    QList<QByteArray> parts;
    for (const NameFinding &f : findings) {
        static const char letters[] = {'O', 'R', 'C', 'S', 'E'};
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
    void outcome_data();
    void outcome();
    void targets();
    void firstScriptBreak_data();
    void firstScriptBreak();
};

void TestNameCheck::check_data()
{
    QTest::addColumn<const GameFamily *>("game");
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<bool>("quoted");
    QTest::addColumn<QByteArray>("findings");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("detail"); // appears in one finding's text

    using F = FamilyId;
    const QByteArray q3 = "^7";

    // Reading the script line.
    QTest::newRow("line feed breaks the line")
        << target(F::QuakeWorld) << QByteArray("ab\ncd") << true << QByteArray("S2")
        << "QuakeWorld on today's servers: 2 of 15 bytes - the script line breaks at byte 3"
        << "new console command";
    QTest::newRow("carriage return breaks the line")
        << target(F::Quake3) << q3 + "ab\rcd" << true << QByteArray("S4")
        << "Quake III Arena (ioquake3): 4 of 35 bytes - the script line breaks at byte 5"
        << "carriage return";
    QTest::newRow("code 0 ends the script")
        << target(F::Quake3) << q3 + QByteArray("a\0b", 3) << true << QByteArray("S3")
        << "Quake III Arena (ioquake3): 3 of 35 bytes - the script line breaks at byte 4"
        << "nothing after it";
    QTest::newRow("quote closes a quoted name")
        << target(F::QuakeWorld) << QByteArray("ab\"c;quit") << true << QByteArray("S2")
        << "QuakeWorld on today's servers: 2 of 15 bytes - the script line breaks at byte 3"
        << "console commands";
    QTest::newRow("semicolon inside quotes is harmless")
        << target(F::Hexen2) << QByteArray("a;b") << true << QByteArray()
        << "Hexen II: 3 of 15 bytes - fine"
        << "";
    QTest::newRow("unknown game: only the line is checked")
        << target(F::Icq) << QByteArray("ab\ncd") << false << QByteArray("S2")
        << "ICQ: 5 bytes - the script line breaks at byte 3; nothing is known of this game's limits"
        << "";
    QTest::newRow("unknown game: nothing said")
        << target(F::StarCraft) << QByteArray("a/b\\\xe9") << false << QByteArray()
        << "StarCraft: 5 bytes - nothing is known of this game's limits"
        << "";

    // QuakeWorld: id's client and server.
    QTest::newRow("fifteen bytes fit")
        << target(F::QuakeWorld, "idqw") << letters(15) << true << QByteArray()
        << "QuakeWorld on id's server: 15 of 15 bytes - fine"
        << "";
    QTest::newRow("scoreboard shows 15")
        << target(F::QuakeWorld, "idqw") << letters(27) << true << QByteArray("O15")
        << "QuakeWorld on id's server: the scoreboard shows 15 of 27 bytes"
        << "The scoreboard shows 15 bytes";
    QTest::newRow("server keeps 31")
        << target(F::QuakeWorld, "idqw") << letters(32) << true << QByteArray("O15 O31")
        << "QuakeWorld on id's server: the scoreboard shows 15 of 32 bytes"
        << "The server keeps 31 bytes";
    QTest::newRow("player info under 64")
        << target(F::QuakeWorld, "idqw") << letters(64) << true << QByteArray("O63")
        << "QuakeWorld on id's server: 64 bytes - the game keeps the old name"
        << "at most 63 bytes";
    QTest::newRow("backslash keeps the old name")
        << target(F::QuakeWorld, "idqw") << QByteArray("a\\b") << true << QByteArray("R1")
        << "QuakeWorld on id's server: 3 bytes - the game keeps the old name"
        << "'\\'";
    QTest::newRow("quote outside quotes keeps the old name")
        << target(F::QuakeWorld, "idqw") << QByteArray("a\"b") << false << QByteArray("R1")
        << "QuakeWorld on id's server: 3 bytes - the game keeps the old name"
        << "The quote";
    QTest::newRow("codes 1 to 13 dropped")
        << target(F::QuakeWorld, "idqw")
        << QByteArray("\x01"
                      "a\x09\x0b"
                      "b\x0e\x1f\xe9")
        << true << QByteArray("C0 C2 C3")
        << "QuakeWorld on id's server: 5 of 15 bytes - the game changes 3 bytes"
        << "Code 1 is dropped from the player info";
    QTest::newRow("blanks trimmed")
        << target(F::QuakeWorld, "idqw") << QByteArray("  ab") << true << QByteArray("C0 C1")
        << "QuakeWorld on id's server: 2 of 15 bytes - the game trims 2 bytes"
        << "at the start is trimmed";
    QTest::newRow("nothing left becomes unnamed")
        << target(F::QuakeWorld, "idqw") << QByteArray("\x05 ") << true << QByteArray("C0 C0 C1")
        << "QuakeWorld on id's server: 0 of 15 bytes - the game names the player \"unnamed\""
        << "'unnamed'";
    QTest::newRow("console becomes unnamed")
        << target(F::QuakeWorld, "idqw") << QByteArray("CoNsOlE") << true << QByteArray("C0")
        << "QuakeWorld on id's server: 7 of 15 bytes - the game renames \"console\" to \"unnamed\""
        << "'console'";

    // QuakeWorld on today's servers (the default): MVDSV at connect and on a change.
    const QString qw = QStringLiteral("QuakeWorld on today's servers: ");
    QTest::newRow("MVDSV renames '$' at connect, refuses it as a change")
        << target(F::QuakeWorld) << QByteArray("A$B") << true << QByteArray("E1 R1")
        << qw + "3 bytes - at connect the server renames a name holding '$' to \"unnamed\"; on a "
                "change the server keeps the old name"
        << "'$' in the name: at connect the server renames the player 'unnamed'; on a change";
    QTest::newRow("MVDSV renames '#' at both")
        << target(F::QuakeWorld) << QByteArray("A#B") << true << QByteArray("R1")
        << qw + "3 bytes - the server renames a name holding '#' to \"unnamed\""
        << "";
    QTest::newRow("MVDSV renames ';' at connect")
        << target(F::QuakeWorld) << QByteArray("A;B") << true << QByteArray("R1")
        << qw + "3 bytes - at connect the server renames a name holding ';' to \"unnamed\"; on a "
                "change the server keeps the old name"
        << "";
    QTest::newRow("MVDSV renames a backslash with the high bit")
        << target(F::QuakeWorld)
        << QByteArray("A\xdc"
                      "B")
        << true << QByteArray("R1")
        << qw + "3 bytes - at connect the server renames a name holding code 220 to "
                "\"unnamed\"; on a change the server keeps the old name"
        << "";
    QTest::newRow("MVDSV trims a leading gold blank")
        << target(F::QuakeWorld)
        << QByteArray("\xa0"
                      "AB")
        << true << QByteArray("C0") << qw + "2 of 15 bytes - the server trims 1 byte"
        << "Code 160 at the start is trimmed";
    QTest::newRow("a gold blank inside stays")
        << target(F::QuakeWorld)
        << QByteArray("A\xa0"
                      "B")
        << true << QByteArray() << qw + "3 of 15 bytes - fine"
        << "";
    QTest::newRow("MVDSV renames Console")
        << target(F::QuakeWorld) << QByteArray("Console") << true << QByteArray("C0")
        << qw + "7 of 15 bytes - the server renames \"console\" to \"unnamed\""
        << "'console' is taken";
    QTest::newRow("console in gold letters too")
        << target(F::QuakeWorld) << QByteArray("\xe3\xef\xee\xf3\xef\xec\xe5") << true
        << QByteArray("C0") << qw + "7 of 15 bytes - the server renames \"console\" to \"unnamed\""
        << "";
    QTest::newRow("MVDSV refuses the connection for &c")
        << target(F::QuakeWorld) << QByteArray("C&c900D") << true << QByteArray("R1")
        << qw + "7 bytes - at connect the server refuses to connect a name holding '&c'; on a "
                "change the server keeps the old name"
        << "";
    QTest::newRow("MVDSV refuses the connection for a trailing backslash")
        << target(F::QuakeWorld) << QByteArray("ab\\") << true << QByteArray("R2")
        << qw + "3 bytes - at connect the server refuses to connect a name holding '\\'; on a "
                "change the server keeps the old name"
        << "at an end of the name";
    QTest::newRow("MVDSV cuts at a backslash at connect")
        << target(F::QuakeWorld) << QByteArray("a\\b") << true << QByteArray("R1")
        << qw + "3 of 15 bytes - at connect the name ends at byte 2; on a change the server "
                "keeps the old name"
        << "";
    QTest::newRow("MVDSV drops code 255")
        << target(F::QuakeWorld)
        << QByteArray("a\xff"
                      "b")
        << true << QByteArray("C1") << qw + "2 of 15 bytes - the server changes 1 byte"
        << "the server drops it";
    QTest::newRow("64 bytes: cut at connect, refused as a change")
        << target(F::QuakeWorld) << letters(64) << true << QByteArray("O15 O31 O63")
        << qw + "ezQuake's scoreboard shows 15 of 64 bytes - on a change the server keeps the old "
                "name"
        << "at connect the server reads only the first 63";
    QTest::newRow("MVDSV trims what its 31 bytes end with")
        << target(F::QuakeWorld) << letters(30) + " xyz" << true << QByteArray("C30 O15 O31")
        << qw + "ezQuake's scoreboard shows 15 of 34 bytes - the server trims 1 byte"
        << "";
    QTest::newRow("ezQuake reads a caret escape")
        << target(F::QuakeWorld) << QByteArray("^A") << true << QByteArray("E0")
        << qw + "2 of 15 bytes - ezQuake reads '^A' as code 193"
        << "writes each '^' of the name as '$^'";
    QTest::newRow("today's servers: a plain name is fine")
        << target(F::QuakeWorld) << QByteArray("AB") << true << QByteArray()
        << qw + "2 of 15 bytes - fine"
        << "";

    // Quake on Quakespasm and Ironwail.
    QTest::newRow("Quakespasm keeps 15")
        << target(F::QuakeWorld, "netquake") << letters(16) << true << QByteArray("O15")
        << "Quake (Quakespasm, Ironwail): the game keeps 15 of 16 bytes"
        << "";
    QTest::newRow("Quakespasm: a high byte outside quotes")
        << target(F::QuakeWorld, "netquake") << QByteArray("a\xe9") << false << QByteArray("S1")
        << "Quake (Quakespasm, Ironwail): 2 of 15 bytes - the script line must quote the name"
        << "reads code 233 as a blank";
    QTest::newRow("Quakespasm: a high byte inside quotes")
        << target(F::QuakeWorld, "netquake") << QByteArray("a\xe9") << true << QByteArray()
        << "Quake (Quakespasm, Ironwail): 2 of 15 bytes - fine"
        << "";

    // Quake II.
    QTest::newRow("Quake II keeps 15")
        << target(F::Quake2) << letters(16) << true << QByteArray("O15")
        << "Quake II: the game keeps 15 of 16 bytes"
        << "";
    QTest::newRow("Quake II player info under 64")
        << target(F::Quake2) << letters(64) << true << QByteArray("O63")
        << "Quake II: 64 bytes - the player has no name"
        << "loses the name";
    QTest::newRow("Quake II backslash refuses the name")
        << target(F::Quake2) << QByteArray("a\\b") << true << QByteArray("R1")
        << "Quake II: 3 bytes - the game keeps the old name"
        << "refuses the whole name";
    QTest::newRow("Quake II semicolon refuses the name")
        << target(F::Quake2) << QByteArray("a;b") << true << QByteArray("R1")
        << "Quake II: 3 bytes - the game keeps the old name"
        << "';'";
    QTest::newRow("Quake II strips the high bit")
        << target(F::Quake2) << QByteArray("\xc1z") << true << QByteArray("C0")
        << "Quake II: 2 of 15 bytes - the game changes 1 byte"
        << "Code 193 loses its high bit and becomes 'A'";
    QTest::newRow("Quake II drops control codes")
        << target(F::Quake2) << QByteArray("a\x1f\x7f\x85 ~") << true << QByteArray("C1 C2 C3")
        << "Quake II: 3 of 15 bytes - the game changes 3 bytes"
        << "as code 5, is dropped";

    QTest::newRow("Q2PRO refuses a backslash with the high bit")
        << target(F::Quake2, "q2pro")
        << QByteArray("a\xdc"
                      "b")
        << true << QByteArray("R1") << "Quake II (Q2PRO): 3 bytes - the game keeps the old name"
        << "refuses the whole name";
    QTest::newRow("Q2PRO refuses 64 bytes")
        << target(F::Quake2, "q2pro") << letters(64) << true << QByteArray("O63")
        << "Quake II (Q2PRO): 64 bytes - the game keeps the old name"
        << "";

    // Hexen II.
    QTest::newRow("Hexen II keeps 15")
        << target(F::Hexen2) << letters(16) << true << QByteArray("O15")
        << "Hexen II: the game keeps 15 of 16 bytes"
        << "";
    QTest::newRow("brace cuts the name")
        << target(F::Hexen2) << QByteArray("ab{c}") << true << QByteArray("R2")
        << "Hexen II: 5 of 15 bytes - the name ends at byte 3"
        << "'{' ends the name";
    QTest::newRow("brace past the limit is cut anyway")
        << target(F::Hexen2) << letters(15) + '{' << true << QByteArray("O15")
        << "Hexen II: the game keeps 15 of 16 bytes"
        << "";

    // Quake III: colour codes count against the 35 bytes.
    QTest::newRow("35 bytes with colour codes fit")
        << target(F::Quake3) << q3 + letters(33) << true << QByteArray()
        << "Quake III Arena (ioquake3): 35 of 35 bytes - fine"
        << "";
    QTest::newRow("colour codes overflow")
        << target(F::Quake3) << q3 + letters(11) + "^1" + letters(11) + "^2" + letters(11) << true
        << QByteArray("O35") << "Quake III Arena (ioquake3): the game keeps 35 of 39 bytes"
        << "";
    QTest::newRow("backslash leaves the player unnamed")
        << target(F::Quake3) << q3 + "a\\b" << true << QByteArray("R3")
        << "Quake III Arena (ioquake3): 5 bytes - the player becomes UnnamedPlayer"
        << "'UnnamedPlayer'";
    QTest::newRow("semicolon leaves the player unnamed")
        << target(F::Quake3) << q3 + "a;b" << true << QByteArray("R3")
        << "Quake III Arena (ioquake3): 5 bytes - the player becomes UnnamedPlayer"
        << "";
    QTest::newRow("high bytes and percent arrive as dots")
        << target(F::Quake3) << q3 + "a\xe9%" << true << QByteArray("C3 C4")
        << "Quake III Arena (ioquake3): 5 of 35 bytes - the game changes 2 bytes"
        << "'%' arrives as '.'";
    QTest::newRow("leading blanks dropped")
        << target(F::Quake3) << "  " + q3 + "a" << true << QByteArray("C0 C1")
        << "Quake III Arena (ioquake3): 3 of 35 bytes - the game changes 2 bytes"
        << "leading blank";
    QTest::newRow("blank after a leading colour code stays")
        << target(F::Quake3) << q3 + " a" << true << QByteArray()
        << "Quake III Arena (ioquake3): 4 of 35 bytes - fine"
        << "";
    QTest::newRow("three blanks in a row stay")
        << target(F::Quake3) << q3 + "a   b" << true << QByteArray()
        << "Quake III Arena (ioquake3): 7 of 35 bytes - fine"
        << "";
    QTest::newRow("colour code between blanks restarts the count")
        << target(F::Quake3) << q3 + "a  ^1  b" << true << QByteArray()
        << "Quake III Arena (ioquake3): 10 of 35 bytes - fine"
        << "";
    QTest::newRow("blanks beyond three dropped")
        << target(F::Quake3) << q3 + "a     b" << true << QByteArray("C6 C7")
        << "Quake III Arena (ioquake3): 7 of 35 bytes - the game changes 2 bytes"
        << "fourth blank";
    QTest::newRow("black removed")
        << target(F::Quake3) << q3 + "a^0b^8c" << true << QByteArray("C3 C6")
        << "Quake III Arena (ioquake3): 5 of 35 bytes - the game changes 2 bytes"
        << "^8 selects black";
    QTest::newRow("ioquake3 turns ^^0 into ^")
        << target(F::Quake3) << q3 + "a^^0bc" << true << QByteArray("C4 C6")
        << "Quake III Arena (ioquake3): 6 of 35 bytes - the game changes 2 bytes"
        << "turns ^^0 into ^";
    QTest::newRow("caret before punctuation is drawn")
        << target(F::Quake3) << q3 + "a^!" << true << QByteArray()
        << "Quake III Arena (ioquake3): 5 of 35 bytes - fine"
        << "";
    QTest::newRow("nothing but colour codes")
        << target(F::Quake3) << q3 + "^1" << true << QByteArray("C0")
        << "Quake III Arena (ioquake3): 4 of 35 bytes - the game names the player \"UnnamedPlayer\""
        << "but colour codes";
    QTest::newRow("35 bytes end inside a black code")
        << target(F::Quake3) << q3 + letters(32) + "^0b" << true << QByteArray("C34")
        << "Quake III Arena (ioquake3): 35 of 35 bytes - the game changes 1 byte"
        << "caret stays";

    // OpenArena beside ioquake3's Quake III Arena.
    const GameFamily *oa = target(F::Quake3, "openarena");
    QTest::newRow("OpenArena keeps black beside a colour")
        << oa << QByteArray("^0Bl^1A") << true << QByteArray() << "OpenArena: 7 of 35 bytes - fine"
        << "";
    QTest::newRow("ioquake3 drops that black")
        << target(F::Quake3) << QByteArray("^0Bl^1A") << true << QByteArray("C0")
        << "Quake III Arena (ioquake3): 5 of 35 bytes - the game changes 1 byte"
        << "selects black";
    QTest::newRow("OpenArena drops the colours of an all-black name")
        << oa << QByteArray("^0Black") << true << QByteArray("C0")
        << "OpenArena: 7 of 35 bytes - the game changes 1 byte"
        << "No letter or digit stands outside black";
    QTest::newRow("OpenArena names a colour-only name Nameless")
        << oa << QByteArray("^1") << true << QByteArray("C0 C0")
        << "OpenArena: 2 of 35 bytes - the game names the player \"Nameless\" and a number"
        << "'Nameless' and the player's number";
    QTest::newRow("OpenArena: a name not sent is Nameless")
        << oa << q3 + "a;b" << true << QByteArray("R3")
        << "OpenArena: 5 bytes - the player becomes Nameless and a number"
        << "";
    QTest::newRow("OpenArena draws a caret before a letter")
        << oa << QByteArray("^a") << true << QByteArray() << "OpenArena: 2 of 35 bytes - fine"
        << "";

    // Unreal Tournament.
    QTest::newRow("blanks become underscores")
        << target(F::UnrealTournament) << QByteArray("a b") << false << QByteArray("C1")
        << "Unreal Tournament: 3 of 20 bytes - the game changes 1 byte"
        << "'_'";
    QTest::newRow("login, deathmatch and name command limits")
        << target(F::UnrealTournament) << letters(29) << false << QByteArray("O20 O24 O28")
        << "Unreal Tournament: at login the game keeps 20 of 29 bytes"
        << "A deathmatch game keeps 24";
}

void TestNameCheck::check()
{
    QFETCH(const GameFamily *, game);
    QFETCH(QByteArray, raw);
    QFETCH(bool, quoted);
    QFETCH(QByteArray, findings);
    QFETCH(QString, summary);
    QFETCH(QString, detail);

    const NameVerdict verdict = NameCheck::check(raw, *game, quoted);
    QCOMPARE(shape(verdict.findings), findings);
    QCOMPARE(verdict.summary, summary);
    QCOMPARE(verdict.fine, findings.isEmpty());
    QStringList texts;
    for (const NameFinding &f : verdict.findings)
        texts << f.text;
    QVERIFY2(texts.join('\n').contains(detail), qPrintable(texts.join('\n')));
}

// What the server holds of a name as the player info brings it, at connect and
// on a change: today's MVDSV table row by row, and a few rows its source adds, as
// measured on a running server.
void TestNameCheck::outcome_data()
{
    QTest::addColumn<const GameFamily *>("game");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<NameOutcome::Result>("atConnect");
    QTest::addColumn<QByteArray>("connectName");
    QTest::addColumn<NameOutcome::Result>("onChange");
    QTest::addColumn<QByteArray>("changeName");

    using F = FamilyId;
    using R = NameOutcome::Result;
    const GameFamily *mvdsv = target(F::QuakeWorld, "mvdsv");
    const QByteArray u = "unnamed";
    QTest::newRow("31 bytes kept")
        << mvdsv << letters(31) << R::Kept << letters(31) << R::Kept << letters(31);
    QTest::newRow("32 to 63 cut to 31")
        << mvdsv << letters(63) << R::Kept << letters(31) << R::Kept << letters(31);
    QTest::newRow("64: cut at connect, refused as a change")
        << mvdsv << letters(64) << R::Kept << letters(31) << R::OldNameKept << QByteArray();
    QTest::newRow("gold digits, brackets, brown letters kept")
        << mvdsv << QByteArray("\x92\x90\xe1\xf2") << R::Kept << QByteArray("\x92\x90\xe1\xf2")
        << R::Kept << QByteArray("\x92\x90\xe1\xf2");
    QTest::newRow("codes 1-9, 11, 12 dropped")
        << mvdsv
        << QByteArray("a\x01\x09\x0b\x0c"
                      "b")
        << R::Kept << QByteArray("ab") << R::Kept << QByteArray("ab");
    QTest::newRow("carriage return: renamed, refused")
        << mvdsv << QByteArray("a\rb") << R::Renamed << u << R::OldNameKept << QByteArray();
    QTest::newRow("line feed: cut, refused") << mvdsv << QByteArray("a\nb") << R::Kept
                                             << QByteArray("a") << R::OldNameKept << QByteArray();
    QTest::newRow("14-31, 127, percent and caret kept")
        << mvdsv << QByteArray("\x0e\x1f\x7f%^") << R::Kept << QByteArray("\x0e\x1f\x7f%^")
        << R::Kept << QByteArray("\x0e\x1f\x7f%^");
    QTest::newRow("dollar: renamed, refused")
        << mvdsv << QByteArray("a$b") << R::Renamed << u << R::OldNameKept << QByteArray();
    QTest::newRow("semicolon: renamed, refused")
        << mvdsv << QByteArray("a;b") << R::Renamed << u << R::OldNameKept << QByteArray();
    QTest::newRow("hash: renamed at both")
        << mvdsv << QByteArray("a#b") << R::Renamed << u << R::Renamed << u;
    QTest::newRow("backslash with the high bit: renamed, refused")
        << mvdsv
        << QByteArray("a\xdc"
                      "b")
        << R::Renamed << u << R::OldNameKept << QByteArray();
    QTest::newRow("backslash inside: cut, refused")
        << mvdsv << QByteArray("ab\\c") << R::Kept << QByteArray("ab") << R::OldNameKept
        << QByteArray();
    QTest::newRow("trailing backslash refuses the connection")
        << mvdsv << QByteArray("ab\\") << R::ConnectionRefused << QByteArray() << R::OldNameKept
        << QByteArray();
    QTest::newRow("leading or doubled backslash refuses the connection")
        << mvdsv << QByteArray("\\a\\\\b") << R::ConnectionRefused << QByteArray() << R::OldNameKept
        << QByteArray();
    QTest::newRow("&c refuses the connection without hex digits too")
        << mvdsv << QByteArray("a&cxyb") << R::ConnectionRefused << QByteArray() << R::OldNameKept
        << QByteArray();
    QTest::newRow("cut to 31 before the trim")
        << mvdsv << "  " + letters(40) << R::Kept << letters(29) << R::Kept << letters(29);
    QTest::newRow("a dollar past byte 63 is cut off at connect")
        << mvdsv << letters(70) + "$" << R::Kept << letters(31) << R::OldNameKept << QByteArray();
    QTest::newRow("quote inside: cut, refused")
        << mvdsv << QByteArray("ab\"c") << R::Kept << QByteArray("ab") << R::OldNameKept
        << QByteArray();
    QTest::newRow("&c and three digits refuse the connection")
        << mvdsv << QByteArray("C&c900D") << R::ConnectionRefused << QByteArray() << R::OldNameKept
        << QByteArray();
    QTest::newRow("&r refuses the connection")
        << mvdsv << QByteArray("a&rb") << R::ConnectionRefused << QByteArray() << R::OldNameKept
        << QByteArray();
    QTest::newRow("255 dropped") << mvdsv
                                 << QByteArray("a\xff"
                                               "b")
                                 << R::Kept << QByteArray("ab") << R::Kept << QByteArray("ab");
    QTest::newRow("blanks and gold blanks trimmed")
        << mvdsv
        << QByteArray(" \xa0"
                      "a b\xa0 ")
        << R::Kept << QByteArray("a b") << R::Kept << QByteArray("a b");
    QTest::newRow("empty") << mvdsv << QByteArray() << R::Renamed << u << R::Renamed << u;
    QTest::newRow("only blanks") << mvdsv << QByteArray("  ") << R::Renamed << u << R::Renamed << u;
    QTest::newRow("console in gold capitals") << mvdsv << QByteArray("\xc3\xcf\xce\xd3\xcf\xcc\xc5")
                                              << R::Renamed << u << R::Renamed << u;
    // The other games read a name alike at both.
    QTest::newRow("id's client keeps the old name")
        << target(F::QuakeWorld, "idqw") << QByteArray("a\\b") << R::OldNameKept << QByteArray()
        << R::OldNameKept << QByteArray();
    QTest::newRow("Quake II loses a 64-byte name") << target(F::Quake2) << letters(64) << R::NoName
                                                   << QByteArray() << R::NoName << QByteArray();
    QTest::newRow("an unknown game keeps what it gets")
        << target(F::Icq) << QByteArray("a\nb") << R::Kept << QByteArray("a\nb") << R::Kept
        << QByteArray("a\nb");
}

void TestNameCheck::outcome()
{
    QFETCH(const GameFamily *, game);
    QFETCH(QByteArray, sent);
    QFETCH(NameOutcome::Result, atConnect);
    QFETCH(QByteArray, connectName);
    QFETCH(NameOutcome::Result, onChange);
    QFETCH(QByteArray, changeName);

    const NameOutcome connect = NameRules::outcome(sent, *game, NameEvent::Connect);
    QCOMPARE(connect.result, atConnect);
    QCOMPARE(connect.name, connectName);
    const NameOutcome change = NameRules::outcome(sent, *game, NameEvent::Change);
    QCOMPARE(change.result, onChange);
    QCOMPARE(change.name, changeName);
}

// Settings store a target's key, and the lead's controls list them: a family's
// targets share its files, the first is its row, and an unknown key falls back.
void TestNameCheck::targets()
{
    for (const GameFamily &family : GameFamilies::families()) {
        const std::span<const GameTarget> targets = GameFamilies::targets(family.id);
        QVERIFY(!targets.empty());
        QCOMPARE(targets.front().rules, &family);
        QCOMPARE(&GameFamilies::family(family.id, ""), &family);
        QCOMPARE(&GameFamilies::family(family.id, "no such server"), &family);
        QSet<QByteArray> keys;
        for (const GameTarget &t : targets) {
            QVERIFY2(!keys.contains(t.key), t.key);
            keys.insert(t.key);
            QCOMPARE(&GameFamilies::family(family.id, t.key), t.rules);
            QCOMPARE(t.rules->id, family.id);
            QCOMPARE(t.rules->configKey, family.configKey);
            QCOMPARE(t.rules->quickSaveFile, family.quickSaveFile);
            QCOMPARE(t.rules->browserSubkey, family.browserSubkey);
            QCOMPARE(t.rules->ezQuakeConsoleLine, family.ezQuakeConsoleLine);
        }
    }
    QCOMPARE(GameFamilies::targets(FamilyId::QuakeWorld).size(), 3u);
    QCOMPARE(GameFamilies::targets(FamilyId::Quake3).size(), 2u);
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
