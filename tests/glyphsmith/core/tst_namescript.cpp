// SPDX-License-Identifier: GPL-3.0-or-later
#include "namescript.h"

#include <QTest>

Q_DECLARE_METATYPE(TableFiller)

class TestNameScript : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rawNameFromScript_data();
    void rawNameFromScript();
    void rawNameFromPaste_data();
    void rawNameFromPaste();
    void consoleLineValue_data();
    void consoleLineValue();
    void looksLikeText_data();
    void looksLikeText();
};

void TestNameScript::rawNameFromScript_data()
{
    QTest::addColumn<TableFiller>("filler");
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QByteArray>("raw");

    using T = TableFiller;
    QTest::newRow("QuickSave line, Quake III")
        << T::Quake3 << QByteArray("seta sensitivity \"5\"\nname \"^7A^1BC^7\" //GLYPHSMITH v6.1\n")
        << true << QByteArray("^7A^1BC");
    QTest::newRow("the game's own line, no suffix")
        << T::Quake3 << QByteArray("seta name \"^1Foo\"\r\n") << true << QByteArray("^1Foo");
    QTest::newRow("hexadecimal line: the u is outside the quotes")
        << T::Hex << QByteArray("name \"414243\"u //GLYPHSMITH v6.1") << true
        << QByteArray("414243");
    QTest::newRow("marker with a blank after the slashes")
        << T::QuakeEngine << QByteArray("name \"abc\" // GLYPHSMITH v6.1\n") << true
        << QByteArray("abc");
    QTest::newRow("last of name, seta, set, setu in any case")
        << T::QuakeEngine
        << QByteArray("name a\r\nSETA Name \"b\"\nset NAME c\nSetU name \"d\"\nseta name2 e\n")
        << true << QByteArray("d");
    QTest::newRow("set name wins over an earlier name")
        << T::QuakeEngine << QByteArray("name \"a\"\nset name \"b\"") << true << QByteArray("b");
    QTest::newRow("unquoted: the rest without blanks around it")
        << T::QuakeEngine << QByteArray("name   Foo  Bar \t//GLYPHSMITH v6.1\n") << true
        << QByteArray("Foo  Bar");
    QTest::newRow("several commands on a line")
        << T::QuakeEngine << QByteArray("bind x jump; name \"a;b//c\" ; echo hi") << true
        << QByteArray("a;b//c");
    QTest::newRow("a comment hides a name command")
        << T::QuakeEngine << QByteArray("name \"a\"\necho x // ; name \"b\"\n") << true
        << QByteArray("a");
    QTest::newRow("name alone only asks")
        << T::QuakeEngine << QByteArray("name \"a\"\nname\n") << true << QByteArray("a");
    QTest::newRow("inside another command's quotes")
        << T::QuakeEngine << QByteArray("bind n \"name x\"\n") << false << QByteArray();
    QTest::newRow("missing closing quote")
        << T::QuakeEngine << QByteArray("name \"ab c\n") << true << QByteArray("ab c");
    QTest::newRow("empty name") << T::QuakeEngine << QByteArray("name \"\"") << true
                                << QByteArray();
    QTest::newRow("glyph bytes kept")
        << T::QuakeEngine << QByteArray("name \"\x12\x13\xe9;\x05\" //GLYPHSMITH v6.1") << true
        << QByteArray("\x12\x13\xe9;\x05");
    QTest::newRow("no name") << T::Quake3 << QByteArray("seta sensitivity 5\n") << false
                             << QByteArray();
}

void TestNameScript::rawNameFromScript()
{
    QFETCH(TableFiller, filler);
    QFETCH(QByteArray, script);
    QFETCH(bool, found);
    QFETCH(QByteArray, raw);

    const std::optional<QByteArray> name =
        NameScript::rawNameFromScript(script, GlyphTables::framing(filler));
    QCOMPARE(name.has_value(), found);
    if (found)
        QCOMPARE(*name, raw);
}

void TestNameScript::rawNameFromPaste_data()
{
    QTest::addColumn<TableFiller>("filler");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("raw");

    using T = TableFiller;
    QTest::newRow("Command Line of Quake III")
        << T::Quake3 << QByteArray("name \"^7A^1B^7\" //GLYPHSMITH v6.1\r\n")
        << QByteArray("^7A^1B");
    QTest::newRow("QuakeWorld line with gold digits")
        << T::QuakeEngine << QByteArray("name \"\x12\x13\x1b\"") << QByteArray("\x12\x13\x1b");
    QTest::newRow("seta line") << T::Quake3 << QByteArray("  seta name \"x\"") << QByteArray("x");
    QTest::newRow("plain name, line end dropped")
        << T::QuakeEngine << QByteArray("Foo Bar\n") << QByteArray("Foo Bar");
    QTest::newRow("first command is not the name")
        << T::QuakeEngine << QByteArray("say hi; name x") << QByteArray("say hi; name x");
    QTest::newRow("two lines stay the raw name")
        << T::QuakeEngine << QByteArray("name a\nname b") << QByteArray("name a\nname b");
}

void TestNameScript::rawNameFromPaste()
{
    QFETCH(TableFiller, filler);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, raw);
    QCOMPARE(NameScript::rawNameFromPaste(text, GlyphTables::framing(filler)), raw);
}

void TestNameScript::consoleLineValue_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QByteArray>("value");

    QTest::newRow("Copy Console Line's form")
        << QByteArray("name \"a$$b^A\"") << true << QByteArray("a$$b^A");
    QTest::newRow("any case, blanks and a line end around it")
        << QByteArray("  NAME  \"x y\" \t\r\n") << true << QByteArray("x y");
    QTest::newRow("an empty name") << QByteArray("name \"\"") << true << QByteArray();
    QTest::newRow("the Command Line's marker: a raw name")
        << QByteArray("name \"^A\" //GLYPHSMITH v6.1") << false << QByteArray();
    QTest::newRow("another command after it")
        << QByteArray("name \"a\";echo b") << false << QByteArray();
    QTest::newRow("unquoted") << QByteArray("name a$$b") << false << QByteArray();
    QTest::newRow("no closing quote") << QByteArray("name \"ab") << false << QByteArray();
    QTest::newRow("seta is not ezQuake's form")
        << QByteArray("seta name \"a\"") << false << QByteArray();
    QTest::newRow("two lines") << QByteArray("name \"a\"\nname \"b\"") << false << QByteArray();
}

void TestNameScript::consoleLineValue()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, found);
    QFETCH(QByteArray, value);
    const std::optional<QByteArray> got = NameScript::consoleLineValue(text);
    QCOMPARE(got.has_value(), found);
    if (found)
        QCOMPARE(*got, value);
}

void TestNameScript::looksLikeText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("text");

    QTest::newRow("config") << QByteArray("// generated\r\nseta name \"x\"\r\nbind TAB +scores\r\n")
                            << true;
    QTest::newRow("control glyphs in a quoted name")
        << QByteArray("name \"") + QByteArray(25, '\x12') + "\"\n"
        << true;
    QTest::newRow("NUL byte") << QByteArray("name x\n\0", 8) << false;
    QByteArray noisy;
    for (int i = 0; i < 64; ++i)
        noisy += char(i % 3 ? 'a' + i % 26 : 1 + i % 30);
    QTest::newRow("control codes outside quotes") << noisy << false;
}

void TestNameScript::looksLikeText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, text);
    QCOMPARE(NameScript::looksLikeText(bytes), text);
}

QTEST_GUILESS_MAIN(TestNameScript)
#include "tst_namescript.moc"
