// SPDX-License-Identifier: GPL-3.0-or-later
#include "qwclient.h"
#include "qwserver.h"

#include <QTest>
#include <memory>
#include <optional>

namespace {

// What today's server is expected to do with a name.
struct Expected
{
    enum class Kind { Keeps, Refuses };
    Kind kind = Kind::Refuses;
    QByteArray name; // Keeps: the bytes the server holds
};

enum class Event { Connect, Change };

// The name a player has before changing it; plain, so the server keeps it as it is.
const QByteArray baseName("glyphbase");

Expected keeps(const QByteArray &name)
{
    return {Expected::Kind::Keeps, name};
}

const Expected refused{Expected::Kind::Refuses, QByteArray()};
const Expected unnamed = keeps("unnamed");

QByteArray letters(int n)
{
    QByteArray s;
    for (int i = 0; i < n; ++i)
        s += char('a' + i % 26);
    return s;
}

QByteArray bytes(std::initializer_list<int> codes)
{
    QByteArray s;
    for (const int c : codes)
        s += char(c);
    return s;
}

QByteArray range(int first, int last)
{
    QByteArray s;
    for (int c = first; c <= last; ++c)
        s += char(c);
    return s;
}

QString shown(const QByteArray &name)
{
    return QString::fromLatin1(
        std::unique_ptr<char[]>(QTest::toPrettyCString(name.constData(), name.size())).get());
}

QString described(const QwAnswer &answer)
{
    if (answer.kind == QwAnswer::Kind::Refused)
        return QStringLiteral("refuses the connection (\"%1\")").arg(answer.text);
    return QStringLiteral("keeps %1").arg(shown(answer.name));
}

// The one comparison of what the server did with what we expect of it; empty when they agree.
// A refused change leaves the player the name they had.
QString mismatch(const QByteArray &sent, Event event, const QwAnswer &answer,
                 const Expected &expected)
{
    const QString what = QStringLiteral("%1 %2").arg(
        shown(sent),
        event == Event::Connect ? QStringLiteral("at connect") : QStringLiteral("on change"));
    if (answer.kind == QwAnswer::Kind::Failed)
        return QStringLiteral("%1: %2").arg(what, answer.text);

    QwAnswer want;
    if (expected.kind == Expected::Kind::Keeps)
        want = {QwAnswer::Kind::Kept, expected.name, QString()};
    else if (event == Event::Connect)
        want = {QwAnswer::Kind::Refused, QByteArray(), QString()};
    else
        want = {QwAnswer::Kind::Kept, baseName, QString()};
    if (answer.kind == want.kind && answer.name == want.name)
        return QString();
    return QStringLiteral("%1: expected the server %2, it %3")
        .arg(what,
             want.kind == QwAnswer::Kind::Refused
                 ? QStringLiteral("to refuse the connection")
                 : QStringLiteral("to keep %1").arg(shown(want.name)),
             described(answer));
}

} // namespace

Q_DECLARE_METATYPE(Expected)

class TestMvdsv : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void serverKeeps_data();
    void serverKeeps();

private:
    std::unique_ptr<QwServer> m_server;
};

void TestMvdsv::initTestCase()
{
    m_server = std::make_unique<QwServer>();
    if (!m_server->start())
        QSKIP(qPrintable(QStringLiteral("MVDSV with KTX cannot run here: ") +
                         m_server->errorString()));
}

void TestMvdsv::cleanupTestCase()
{
    m_server.reset();
}

// Each name is sent once in the userinfo of a new connection and once as a change of a player
// already in the game under baseName. `already` names a player who is there first.
void TestMvdsv::serverKeeps_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("already");
    QTest::addColumn<Expected>("atConnect");
    QTest::addColumn<Expected>("onChange");

    const QByteArray none;
    QTest::newRow("plain name kept") << QByteArray("AB") << none << keeps("AB") << keeps("AB");

    // Lengths: the server keeps 31 bytes; a change of 64 or more is refused whole.
    QTest::newRow("31 bytes kept")
        << letters(31) << none << keeps(letters(31)) << keeps(letters(31));
    QTest::newRow("32 bytes cut to 31")
        << letters(32) << none << keeps(letters(31)) << keeps(letters(31));
    QTest::newRow("63 bytes cut to 31")
        << letters(63) << none << keeps(letters(31)) << keeps(letters(31));
    QTest::newRow("64 bytes cut at connect, refused on change")
        << letters(64) << none << keeps(letters(31)) << refused;

    // Bytes kept as they are, including high-bit twins of the bytes the server refuses.
    const QByteArray high =
        bytes({0x80, 0x90, 0x91, 0x92, 0x9b, 0xa2, 0xa3, 0xa4, 0xbb, 0xc1, 0xe2, 0xfe});
    QTest::newRow("bytes 128-254 kept") << high << none << keeps(high) << keeps(high);
    const QByteArray low = "A" + range(14, 31) + bytes({127}) + "%^B";
    QTest::newRow("bytes 14-31, 127, % and ^ kept") << low << none << keeps(low) << keeps(low);
    const QByteArray goldBlank = "A" + bytes({0xa0}) + "B";
    QTest::newRow("gold blank inside kept")
        << goldBlank << none << keeps(goldBlank) << keeps(goldBlank);

    // Bytes dropped from the name.
    QTest::newRow("bytes 1-9, 11, 12 dropped")
        << "A" + range(1, 9) + bytes({11, 12}) + "B" << none << keeps("AB") << keeps("AB");
    QTest::newRow("0xFF dropped") << "A" + bytes({0xff}) + "B" << none << keeps("AB")
                                  << keeps("AB");

    // Bytes that break the name.
    QTest::newRow("carriage return") << QByteArray("A\rB") << none << unnamed << refused;
    QTest::newRow("line feed cuts at connect")
        << QByteArray("A\nB") << none << keeps("A") << refused;
    QTest::newRow("dollar") << QByteArray("A$B") << none << unnamed << refused;
    QTest::newRow("semicolon") << QByteArray("A;B") << none << unnamed << refused;
    QTest::newRow("hash") << QByteArray("A#B") << none << unnamed << unnamed;
    QTest::newRow("0xDC, a backslash with the high bit")
        << "A" + bytes({0xdc}) + "B" << none << unnamed << refused;
    QTest::newRow("backslash inside cuts at connect")
        << QByteArray("A\\B") << none << keeps("A") << refused;
    QTest::newRow("trailing backslash") << QByteArray("AB\\") << none << refused << refused;
    QTest::newRow("quote inside cuts at connect")
        << QByteArray("A\"B") << none << keeps("A") << refused;
    QTest::newRow("&c and three hex digits") << QByteArray("C&c900D") << none << refused << refused;
    QTest::newRow("&r") << QByteArray("C&rD") << none << refused << refused;

    // Blanks, and the names the server will not give a player.
    QTest::newRow("leading and trailing blanks trimmed")
        << QByteArray("  AB  ") << none << keeps("AB") << keeps("AB");
    QTest::newRow("gold blanks 0xA0 trimmed")
        << bytes({0xa0}) + " AB " + bytes({0xa0}) << none << keeps("AB") << keeps("AB");
    QTest::newRow("empty") << QByteArray() << none << unnamed << unnamed;
    QTest::newRow("only blanks") << " " + bytes({0xa0}) + " " << none << unnamed << unnamed;
    QTest::newRow("console in mixed case") << QByteArray("CoNsOlE") << none << unnamed << unnamed;
    QTest::newRow("console with high bits")
        << bytes({0xe3, 0xef, 'n', 0xf3, 0xef, 0xec, 0xe5}) << none << unnamed << unnamed;

    // A player already there, compared without case and high bit.
    QTest::newRow("duplicate in another case")
        << QByteArray("PLAYER") << QByteArray("Player") << keeps("(1)PLAYER") << keeps("(1)PLAYER");
    const QByteArray highL = "P" + bytes({0xec}) + "ayer";
    QTest::newRow("duplicate with a high bit")
        << highL << QByteArray("Player") << keeps("(1)" + highL) << keeps("(1)" + highL);
    QTest::newRow("duplicate keeps its first 10 bytes")
        << QByteArray("playerplayerXYZ") << QByteArray("PlayerPlayerxyz") << keeps("(1)playerplay")
        << keeps("(1)playerplay");
}

void TestMvdsv::serverKeeps()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, already);
    QFETCH(Expected, atConnect);
    QFETCH(Expected, onChange);
    const quint16 port = m_server->port();

    std::optional<QwClient> first;
    if (!already.isEmpty()) {
        first.emplace(port);
        const QwAnswer there = first->connect(already);
        QVERIFY2(there.kind == QwAnswer::Kind::Kept && there.name == already,
                 qPrintable(there.text));
    }

    QStringList mismatches;
    {
        QwClient joining(port);
        mismatches += mismatch(name, Event::Connect, joining.connect(name), atConnect);
    }
    QwClient changing(port);
    const QwAnswer before = changing.connect(baseName);
    QVERIFY2(before.kind == QwAnswer::Kind::Kept && before.name == baseName,
             qPrintable(before.text));
    mismatches += mismatch(name, Event::Change, changing.changeName(name), onChange);

    mismatches.removeAll(QString());
    QVERIFY2(mismatches.isEmpty(),
             qPrintable(mismatches.join(QStringLiteral("; ")) + QStringLiteral("\nserver: ") +
                        m_server->consoleTail().right(300)));
}

QTEST_GUILESS_MAIN(TestMvdsv)
#include "tst_mvdsv.moc"
