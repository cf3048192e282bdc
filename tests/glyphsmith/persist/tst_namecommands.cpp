// SPDX-License-Identifier: GPL-3.0-or-later
#include "modecontroller.h"
#include "namecommands.h"
#include "namecomposer.h"
#include "scriptedprompts.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

// Reading a name back from a script or the clipboard, against the shipped pictures.
class TestNameCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsTheNameBack_data();
    void readsTheNameBack();
};

void TestNameCommands::readsTheNameBack_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("fromFile"); // else pasted
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QList<int>>("cells");   // per slot; empty: the old name stays
    QTest::addColumn<QList<int>>("colours"); // per slot, -1: the mode's picture
    QTest::addColumn<QString>("message");    // part of the one message shown; empty: none

    const int q3 = int(ModeId::Quake3), qw = int(ModeId::QuakeWorld);
    const QList<int> none;
    QTest::newRow("a QuickSave line restores name and colours")
        << q3 << true << QByteArray("bind x y\r\n\r\nname \"^7A^1BC^7\" //GLYPHSMITH v6.1\r\n")
        << QByteArray("^7A^1BC") << QList<int>{65, 66, 67} << QList<int>{7, 1, 1} << "";
    QTest::newRow("the last line counts, in any case")
        << q3 << true << QByteArray("name \"^7X\"\nSETA NAME \"^2Y\"\n") << QByteArray("^2Y")
        << QList<int>{89} << QList<int>{2} << "";
    // Only the last 4 MiB are read, from the first whole line in them: here they
    // start at a "name" that only continues an echo command.
    const QByteArray lastLine = "echo " + QByteArray(4 * 1024 * 1024 - 10 - 7, 'y') + "\r\n";
    QTest::newRow("a large script is read from a whole line")
        << qw << true << "echo " + QByteArray(1000, 'y') + "name \"B\"\r\n" + lastLine
        << QByteArray("Z") << none << none << "No line of";
    QTest::newRow("a pasted line with gold digits")
        << qw << false
        << QByteArray("name \"\x12\x13"
                      "A\" //GLYPHSMITH v6.1\r\n")
        << QByteArray("\x12\x13"
                      "A")
        << QList<int>{18, 19, 65} << QList<int>{-1, -1, -1} << "";
    QTest::newRow("ezQuake's console line is read through its escapes")
        << qw << false << QByteArray("name \"$0$1^A$$x\"") << QByteArray("\x12\x13\xc1$x")
        << QList<int>{18, 19, 193, 36, 120} << QList<int>(5, -1) << "";
    QTest::newRow("the Command Line's text stays raw")
        << qw << false << QByteArray("name \"^A$$\" //GLYPHSMITH v6.1") << QByteArray("^A$$")
        << QList<int>{94, 65, 36, 36} << QList<int>(4, -1) << "";
    QTest::newRow("Quake III reads no ezQuake escapes")
        << q3 << false << QByteArray("name \"^1A$$\"") << QByteArray("^1A$$")
        << QList<int>{65, 36, 36} << QList<int>{1, 1, 1} << "";
    QTest::newRow("a byte no cell gives is left out and named")
        << q3 << false << QByteArray("A\"B") << QByteArray("AB") << QList<int>{65, 66}
        << QList<int>{-1, -1} << "byte 2 of the name";
    QTest::newRow("more than 25 glyphs")
        << qw << false << QByteArray(30, 'A') << QByteArray(25, 'A') << QList<int>(25, 65)
        << QList<int>(25, -1) << "the first 25";
    QTest::newRow("no name line changes nothing")
        << qw << true << QByteArray("bind a b\r\nname\r\n") << QByteArray("Z") << none << none
        << "No line of";
    QTest::newRow("a binary file changes nothing")
        << qw << true << QByteArray("\x00\x01\x02name \"A\"", 11) << QByteArray("Z") << none << none
        << "is not a game script";
    QTest::newRow("a pipe is not read") << qw << true << QByteArray("<fifo>") << QByteArray("Z")
                                        << none << none << "not a regular file";
    QTest::newRow("text no name can carry")
        << qw << false << QByteArray("\xe2\x82\xac\xe2\x98\x83") << QByteArray("Z") << none << none
        << "no name can carry";
}

void TestNameCommands::readsTheNameBack()
{
    QFETCH(int, mode);
    QFETCH(bool, fromFile);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, raw);
    QFETCH(QList<int>, cells);
    QFETCH(QList<int>, colours);
    QFETCH(QString, message);

    NameComposer composer;
    ScriptedPrompts prompts;
    ModeController modes(composer, prompts);
    QVERIFY(modes.startUp());
    if (ModeId(mode) != ModeId::Quake3)
        QVERIFY(modes.enterMode(ModeId(mode)));
    composer.clickCell(90, modes.fontPicture().image());
    NameCommands commands(composer, modes, prompts);

    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("config.cfg"));
    if (!fromFile) {
        // The clipboard holds text: pasted rows are written in UTF-8.
        commands.paste(QString::fromUtf8(input));
    } else {
        if (input == "<fifo>")
            QVERIFY(mkfifo(QFile::encodeName(script).constData(), 0600) == 0);
        else
            QVERIFY(TestFiles::writeBytes(script, input));
        prompts.fileAnswers.push_back(script);
        commands.openFromScript();
    }

    QCOMPARE(composer.rawName(), raw);
    for (qsizetype i = 0; i < cells.size(); ++i)
        QCOMPARE(composer.slotGlyph(int(i) + 1), modes.glyph(cells[i], colours[i]));
    QCOMPARE(composer.namePos(), cells.isEmpty() ? 2 : qMin(int(cells.size()) + 1, 26));
    const QStringList shown = prompts.messages();
    QCOMPARE(shown.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QVERIFY2(shown.first().contains(message), qPrintable(shown.first()));
}

QTEST_MAIN(TestNameCommands)
#include "tst_namecommands.moc"
