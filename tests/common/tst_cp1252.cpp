#include "cp1252.h"

#include <QTest>

class TestCp1252 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyByteRoundTrips_data();
    void everyByteRoundTrips();
    void namedCharacters_data();
    void namedCharacters();
    void unrepresentable_data();
    void unrepresentable();
    void toDisplay_data();
    void toDisplay();
};

void TestCp1252::everyByteRoundTrips_data()
{
    QTest::addColumn<int>("byte");
    for (int b = 0; b < 256; ++b)
        QTest::addRow("byte 0x%02X", b) << b;
}

void TestCp1252::everyByteRoundTrips()
{
    QFETCH(int, byte);

    const QByteArray bytes(1, char(byte));
    const QString text = Cp1252::toUnicode(bytes);
    QCOMPARE(text.size(), 1);
    bool lossless = false;
    QCOMPARE(Cp1252::fromUnicode(text, &lossless), bytes);
    QVERIFY(lossless);
}

void TestCp1252::namedCharacters_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("0x80 euro sign") << QByteArray("\x80") << QStringLiteral("\u20AC");
    QTest::newRow("0x9F Y with diaeresis") << QByteArray("\x9F") << QStringLiteral("\u0178");
    QTest::newRow("0xAE registered sign") << QByteArray("\xAE") << QStringLiteral("\u00AE");
    QTest::newRow("0x99 trade mark") << QByteArray("\x99") << QStringLiteral("\u2122");
    QTest::newRow("0x8D undefined, kept as C1 control")
        << QByteArray("\x8D") << QStringLiteral("\u008D");
    QTest::newRow("0xFF y with diaeresis") << QByteArray("\xFF") << QStringLiteral("\u00FF");
    QTest::newRow("colour code and text") << QByteArray("^1Gr\xFC\xDF") << QStringLiteral("^1Grüß");
}

void TestCp1252::namedCharacters()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);

    QCOMPARE(Cp1252::toUnicode(bytes), text);
    bool lossless = false;
    QCOMPARE(Cp1252::fromUnicode(text, &lossless), bytes);
    QVERIFY(lossless);
}

void TestCp1252::unrepresentable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("snowman") << QStringLiteral("a\u2603b") << QByteArray("a?b");
    QTest::newRow("U+0080 is not the euro byte") << QStringLiteral("\u0080") << QByteArray("?");
    QTest::newRow("U+0100 just past Latin-1") << QStringLiteral("\u0100") << QByteArray("?");
    QTest::newRow("Greek") << QStringLiteral("\u03A9x") << QByteArray("?x");
    QTest::newRow("one character beyond the BMP, one question mark")
        << QString::fromUtf8("a\xF0\x9F\x98\x80"
                             "b")
        << QByteArray("a?b");
}

void TestCp1252::unrepresentable()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);

    bool lossless = true;
    QCOMPARE(Cp1252::fromUnicode(text, &lossless), bytes);
    QVERIFY(!lossless);
}

void TestCp1252::toDisplay_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");

    QTest::newRow("code 1") << QByteArray("\x01") << QStringLiteral("\u2401");
    QTest::newRow("code 31") << QByteArray("\x1F") << QStringLiteral("\u241F");
    QTest::newRow("tab among letters") << QByteArray("A\tB") << QStringLiteral("A\u2409B");
    QTest::newRow("carriage return") << QByteArray("\r") << QStringLiteral("\u240D");
    QTest::newRow("space stays") << QByteArray(" ") << QStringLiteral(" ");
    QTest::newRow("DEL stays") << QByteArray("\x7F") << QStringLiteral("\u007F");
    QTest::newRow("high bytes decoded") << QByteArray("\x80\xAE") << QStringLiteral("\u20AC\u00AE");
}

void TestCp1252::toDisplay()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);

    QCOMPARE(Cp1252::toDisplay(bytes), shown);
}

QTEST_GUILESS_MAIN(TestCp1252)
#include "tst_cp1252.moc"
