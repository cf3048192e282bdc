#include "fileerrortest.h"
#include "namecomposer.h"
#include "scriptwriter.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using Tail = ScriptWriter::Tail;

using TestFiles::readBytes;
using TestFiles::writeBytes;

class TestScriptWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void appendLine_data();
    void appendLine();
    void refusesUnwritableTargets_data();
    void refusesUnwritableTargets();
    void readOnlyFileIsLeftAlone();
    void keepsPermissions();
    void nameLine_data();
    void nameLine();
};

namespace {} // namespace

void TestScriptWriter::appendLine_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("previous");
    QTest::addColumn<Tail>("tail");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray t = " // GLYPHSMITH v6.1";
    QTest::newRow("new file starts with an empty line")
        << false << QByteArray() << Tail::Always << "\r\nLINE" + t + "\r\n";
    QTest::newRow("new file gets the tail even when only due on creation")
        << false << QByteArray() << Tail::WhenCreated << "\r\nLINE" + t + "\r\n";
    QTest::newRow("final line break gives an empty line before the name")
        << true << QByteArray("bind x quit\r\n") << Tail::Always
        << "bind x quit\r\n\r\nLINE" + t + "\r\n";
    QTest::newRow("no final line break: break added, no empty line")
        << true << QByteArray("bind x quit") << Tail::Always << "bind x quit\r\nLINE" + t + "\r\n";
    QTest::newRow("existing file, tail only on creation: no tail")
        << true << QByteArray("a\r\n") << Tail::WhenCreated << QByteArray("a\r\n\r\nLINE\r\n");
    QTest::newRow("existing empty file counts as existing")
        << true << QByteArray() << Tail::WhenCreated << QByteArray("\r\nLINE\r\n");
    QTest::newRow("previous bytes kept exactly (NUL, 0xFF, lone LF)")
        << true << QByteArray("x\0y\xff\nz", 6) << Tail::WhenCreated
        << QByteArray("x\0y\xff\nz\r\nLINE\r\n", 14);
}

void TestScriptWriter::appendLine()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, previous);
    QFETCH(Tail, tail);
    QFETCH(QByteArray, expected);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("q3config.cfg"));
    if (exists)
        QVERIFY(writeBytes(path, previous));
    bool created = exists;
    const FileError result = ScriptWriter::appendLine(path, "LINE", tail, &created);
    QVERIFY2(result.ok(), qPrintable(result.text()));
    QCOMPARE(created, !exists);
    QCOMPARE(readBytes(path), expected);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"q3config.cfg"});
}

// Cases that fail for root too, so they run everywhere.
void TestScriptWriter::refusesUnwritableTargets_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::newRow("target is a folder") << QStringLiteral("folder");
    QTest::newRow("parent folder missing") << QStringLiteral("missing/config.cfg");
    QTest::newRow("parent is a file") << QStringLiteral("plain.txt/config.cfg");
    QTest::newRow("link to a missing file") << QStringLiteral("dangling.cfg");
}

void TestScriptWriter::refusesUnwritableTargets()
{
    QFETCH(QString, relativePath);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("plain.txt")), "keep me"));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("elsewhere.cfg")),
                        dir.filePath(QStringLiteral("dangling.cfg"))));
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    const QString path = dir.filePath(relativePath);
    const FileError result = ScriptWriter::appendLine(path, "LINE", Tail::Always);
    QVERIFY(!result.ok());
    QVERIFY2(result.text().contains(path), qPrintable(result.text()));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QVERIFY(QDir(dir.filePath(QStringLiteral("folder"))).isEmpty());
    QCOMPARE(readBytes(dir.filePath(QStringLiteral("plain.txt"))), QByteArray("keep me"));
}

void TestScriptWriter::readOnlyFileIsLeftAlone()
{
    if (::geteuid() == 0)
        QSKIP("root writes read-only files");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.cfg"));
    QVERIFY(writeBytes(path, "old\r\n"));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadUser));

    const FileError result = ScriptWriter::appendLine(path, "LINE", Tail::Always);
    QVERIFY(!result.ok());
    QVERIFY(result.text().contains(path));
    QCOMPARE(readBytes(path), QByteArray("old\r\n"));
}

void TestScriptWriter::keepsPermissions()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.cfg"));
    QVERIFY(writeBytes(path, "old\r\n"));
    const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser |
                      QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(path, mode));

    QVERIFY_OK(ScriptWriter::appendLine(path, "LINE", Tail::Always));
    QCOMPARE(QFile::permissions(path), mode);
}

void TestScriptWriter::nameLine_data()
{
    QTest::addColumn<TableFiller>("filler");
    QTest::addColumn<QList<int>>("clicks"); // cells; a negative number selects slot -n
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("empty name, Quake III framing")
        << TableFiller::Quake3 << QList<int>{} << QByteArray("name \"^7\" //GLYPHSMITH v6.1");
    QTest::newRow("empty name, Quake engine framing")
        << TableFiller::QuakeEngine << QList<int>{} << QByteArray("name \"\" //GLYPHSMITH v6.1");
    QTest::newRow("plain-character mode is the raw name alone")
        << TableFiller::Ascii << QList<int>{64, 65} << QByteArray("AB");
    QTest::newRow("blanks inside kept")
        << TableFiller::Ascii << QList<int>{64, -3, 65} << QByteArray("A B");
    QTest::newRow("trailing blank dropped")
        << TableFiller::Ascii << QList<int>{64, 255} << QByteArray("A");
}

void TestScriptWriter::nameLine()
{
    QFETCH(TableFiller, filler);
    QFETCH(QList<int>, clicks);
    QFETCH(QByteArray, line);

    NameComposer composer;
    composer.applyFiller(filler);
    const QImage picture = TestFiles::somePicture();
    for (int click : clicks) {
        if (click < 0)
            composer.selectSlot(-click);
        else
            QCOMPARE(composer.clickCell(click, picture), QString());
    }
    QCOMPARE(ScriptWriter::nameLine(composer), line);
}

QTEST_GUILESS_MAIN(TestScriptWriter)
#include "tst_scriptwriter.moc"
