// SPDX-License-Identifier: GPL-3.0-or-later
#include "ezquakeconsole.h"
#include "gamefamilies.h"
#include "namerules.h"

#include <QTest>
#include <array>

namespace {

using Reason = EzQuakeConsole::Reason;

// "1:Dropped 4:Refused": each left-out byte with its reason.
QByteArray leftOut(const EzQuakeConsole::Line &line)
{
    static const char *const names[] = {"NoEscape", "Dropped", "Refused", "ColourCode", "TooLong"};
    QList<QByteArray> parts;
    for (const EzQuakeConsole::LeftOut &l : line.leftOut)
        parts.append(QByteArray::number(l.position) + ':' + names[int(l.reason)]);
    return parts.join(' ');
}

// The value between the line's quotes.
QByteArray value(const QByteArray &line)
{
    return line.mid(6, line.size() - 7);
}

// For each byte, the length of the shortest console text that ezQuake reads as
// that byte alone, found by trying every text of one and two characters that can
// stand in the line; 0 where none does.
std::array<int, 256> shortestByTrial()
{
    std::array<int, 256> shortest{};
    QList<char> usable;
    for (int c = 32; c <= 126; ++c) {
        if (c != '"')
            usable.append(char(c));
    }
    const auto tryText = [&](const QByteArray &text) {
        const QByteArray read = EzQuakeConsole::decode(text);
        const uchar b = static_cast<uchar>(read[0]);
        if (read.size() == 1 && !shortest[b])
            shortest[b] = int(text.size());
    };
    for (char a : usable)
        tryText(QByteArray(1, a));
    for (char a : usable) {
        for (char b : usable)
            tryText(QByteArray(1, a) + b);
    }
    return shortest;
}

} // namespace

class TestEzQuakeConsole : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void encode_data();
    void encode();
    void everyByte();
    void decode_data();
    void decode();
};

void TestEzQuakeConsole::encode_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("left");

    const QByteArray none;
    QTest::newRow("plain letters") << QByteArray("AB c") << QByteArray("name \"AB c\"") << none;
    QTest::newRow("the name's own dollar and caret")
        << QByteArray("a$b^c") << QByteArray("name \"a$$b$^c\"") << none;
    QTest::newRow("a dollar escape in the name stays text")
        << QByteArray("$x41$0") << QByteArray("name \"$$x41$$0\"") << none;
    QTest::newRow("gold digits and brackets")
        << QByteArray("\x10\x12\x1b\x11") << QByteArray("name \"$[$0$9$]\"") << none;
    QTest::newRow("a digit after a gold digit") << QByteArray("\x12"
                                                              "5x41")
                                                << QByteArray("name \"$05x41\"") << none;
    QTest::newRow("coloured dots")
        << QByteArray("\x86\x87\x88\x89\x84") << QByteArray("name \"$G$R$Y$B$W\"") << none;
    QTest::newRow("brown letters by caret")
        << QByteArray("\xc1\xe2\xb1") << QByteArray("name \"^A^b^1\"") << none;
    QTest::newRow("a high dollar and caret by caret")
        << QByteArray("\xa4\xde") << QByteArray("name \"^$^^\"") << none;
    QTest::newRow("gold blank, high quote, 255 and 14 by number")
        << QByteArray("\xa0\xa2\xff\x0e") << QByteArray("name \"$xa0$xa2$xff$x0e\"") << none;
    QTest::newRow("codes 0 to 13, quote and backslash left out")
        << QByteArray("a\x00\x05\r\"\\b", 7) << QByteArray("name \"ab\"")
        << QByteArray("1:NoEscape 2:Dropped 3:Dropped 4:Refused 5:Refused");
    QTest::newRow("the & of &c and three hex digits left out")
        << QByteArray("C&c9aFD") << QByteArray("name \"Cc9aFD\"") << QByteArray("1:ColourCode");
    QTest::newRow("the & of &r left out")
        << QByteArray("a&rb") << QByteArray("name \"arb\"") << QByteArray("1:ColourCode");
    QTest::newRow("&c without three hex digits stays")
        << QByteArray("&c9g&c") << QByteArray("name \"&c9g&c\"") << none;
    QTest::newRow("&c before an escape is no colour code")
        << QByteArray("&c9\x12") << QByteArray("name \"&c9$0\"") << none;
    QTest::newRow("64 bytes: ezQuake's limit")
        << QByteArray(64, 'q') << "name \"" + QByteArray(63, 'q') + '"' << QByteArray("63:TooLong");
}

void TestEzQuakeConsole::encode()
{
    QFETCH(QByteArray, raw);
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, left);

    const EzQuakeConsole::Line encoded = EzQuakeConsole::encode(raw);
    QCOMPARE(encoded.text, line);
    QCOMPARE(leftOut(encoded), left);
    // What ezQuake makes of it is the raw name without what was left out.
    QByteArray expected = raw;
    for (qsizetype i = encoded.leftOut.size() - 1; i >= 0; --i)
        expected.remove(encoded.leftOut[i].position, 1);
    QCOMPARE(EzQuakeConsole::decode(value(encoded.text)), expected);
}

// Every byte alone and among others, in the shortest printable form; and every
// byte that today's server keeps can be typed.
void TestEzQuakeConsole::everyByte()
{
    const std::array<int, 256> shortest = shortestByTrial();
    const GameFamily &server = GameFamilies::family(FamilyId::QuakeWorld, "mvdsv");
    for (int b = 0; b < 256; ++b) {
        const QByteArray raw(1, char(b));
        const EzQuakeConsole::Line alone = EzQuakeConsole::encode(raw);
        const bool refused = b <= 13 || b == '"' || b == '\\';
        const NameOutcome kept = NameRules::outcome("a" + raw + "b", server, NameEvent::Connect);
        if (kept.result == NameOutcome::Result::Kept && kept.name == "a" + raw + "b")
            QVERIFY2(!refused, qPrintable(QString::number(b)));
        if (refused) {
            QCOMPARE(alone.leftOut.size(), 1);
            QCOMPARE(alone.text, QByteArray("name \"\""));
            continue;
        }
        QVERIFY2(alone.leftOut.isEmpty(), qPrintable(QString::number(b)));
        const QByteArray text = value(alone.text);
        for (const char c : text)
            QVERIFY2(c >= 32 && c <= 126 && c != '"', qPrintable(QString::number(b)));
        const int expectedLength = (b == '$' || b == '^') ? 2 : shortest[b] ? shortest[b] : 4;
        QCOMPARE(text.size(), expectedLength);

        const QByteArray mixed = "x" + raw + "$" + raw + "^" + raw + "\xc1" + raw;
        const EzQuakeConsole::Line line = EzQuakeConsole::encode(mixed);
        QVERIFY(line.leftOut.isEmpty());
        QCOMPARE(EzQuakeConsole::decode(value(line.text)), mixed);
    }
}

void TestEzQuakeConsole::decode_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("sent");

    QTest::newRow("$x00 is a blank") << QByteArray("a$x00b") << QByteArray("a b");
    QTest::newRow("upper-case hex digits") << QByteArray("$xAb") << QByteArray("\xab");
    QTest::newRow("$x needs two hex digits") << QByteArray("$xg1$x4") << QByteArray("$xg1$x4");
    QTest::newRow("only a small x") << QByteArray("$X41") << QByteArray("$X41");
    QTest::newRow("$c and $d give one glyph") << QByteArray("$c$d") << QByteArray("\x8d\x8d");
    QTest::newRow("line ends by escape") << QByteArray("$\\$:") << QByteArray("\r\n");
    QTest::newRow("an unknown $ pair stays") << QByteArray("$Z$") << QByteArray("$Z$");
    QTest::newRow("a caret before a blank or at the end stays")
        << QByteArray("^ a^") << QByteArray("^ a^");
    QTest::newRow("a caret takes any byte") << QByteArray("^\x05^\xe9") << QByteArray("\x85\xe9");
    QTest::newRow("$$ before a caret") << QByteArray("$$^A") << QByteArray("$\xc1");
}

void TestEzQuakeConsole::decode()
{
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, sent);
    QCOMPARE(EzQuakeConsole::decode(value), sent);
}

QTEST_GUILESS_MAIN(TestEzQuakeConsole)
#include "tst_ezquakeconsole.moc"
