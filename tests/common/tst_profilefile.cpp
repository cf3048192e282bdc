#include "fileerrortest.h"
#include "profilefile.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <unistd.h>

namespace {} // namespace

using TestFiles::readBytes;
using TestFiles::writeBytes;

class TestProfileFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void read_data();
    void read();
    void write_data();
    void write();
    void longValueStoredWholeReadCut();
    void refusedInput_data();
    void refusedInput();
    void unwritableTarget_data();
    void unwritableTarget();
    void readOnlyFileUntouched();
    void keepsPermissions();
    void concurrentWritersLoseNothing();

private:
    QTemporaryDir m_dir;
    QString m_file;
};

void TestProfileFile::init()
{
    QVERIFY(m_dir.isValid());
    m_file = m_dir.filePath(QStringLiteral("glyph.ini"));
    QFile::remove(m_file);
}

void TestProfileFile::read_data()
{
    QTest::addColumn<QByteArray>("content"); // null: no file at all
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QByteArray basic("[Glyphsmith]\r\nfirst=yes\r\nq3config=C:\\Games\\baseq3\r\n");
    QTest::newRow("missing file") << QByteArray() << "Glyphsmith"
                                  << "first"
                                  << "";
    QTest::newRow("missing section") << basic << "Other"
                                     << "first"
                                     << "";
    QTest::newRow("missing key") << basic << "Glyphsmith"
                                 << "q1config"
                                 << "";
    QTest::newRow("plain value") << basic << "Glyphsmith"
                                 << "q3config"
                                 << "C:\\Games\\baseq3";
    QTest::newRow("section and key in other case") << basic << "GLYPHSMITH"
                                                   << "FIRST"
                                                   << "yes";
    QTest::newRow("key in another section") << QByteArray("[A]\r\nx=1\r\n[B]\r\ny=2\r\n") << "A"
                                            << "y"
                                            << "";
    QTest::newRow("key before any section")
        << QByteArray("first=yes\r\n[Glyphsmith]\r\n") << "Glyphsmith"
        << "first"
        << "";
    QTest::newRow("blanks around names ignored")
        << QByteArray("  [ Glyphsmith ]  \r\n  first =yes\r\n") << "Glyphsmith"
        << "first"
        << "yes";
    QTest::newRow("trailing blank kept")
        << QByteArray("[Glyphsmith]\r\nfirst=yes \r\n") << "Glyphsmith"
        << "first"
        << "yes ";
    QTest::newRow("leading blank kept")
        << QByteArray("[Glyphsmith]\r\nfirst= yes\r\n") << "Glyphsmith"
        << "first"
        << " yes";
    QTest::newRow("quotes kept") << QByteArray("[Glyphsmith]\r\nfirst=\"yes\"\r\n") << "Glyphsmith"
                                 << "first"
                                 << "\"yes\"";
    QTest::newRow("empty value") << QByteArray("[Glyphsmith]\r\nq1config=\r\n") << "Glyphsmith"
                                 << "q1config"
                                 << "";
    QTest::newRow("equals sign inside value") << QByteArray("[S]\r\nk=a=b\r\n") << "S"
                                              << "k"
                                              << "a=b";
    QTest::newRow("LF line ends") << QByteArray("[S]\nk=v\nz=w\n") << "S"
                                  << "k"
                                  << "v";
    QTest::newRow("unterminated last line") << QByteArray("[S]\r\nk=v") << "S"
                                            << "k"
                                            << "v";
    QTest::newRow("first of two keys") << QByteArray("[S]\r\nk=1\r\nK=2\r\n") << "S"
                                       << "k"
                                       << "1";
    QTest::newRow("first of two sections") << QByteArray("[S]\r\nk=1\r\n[s]\r\nk=2\r\n") << "S"
                                           << "k"
                                           << "1";
    QTest::newRow("comment is no key") << QByteArray("[S]\r\n;k=1\r\n#k=2\r\n") << "S"
                                       << "k"
                                       << "";
    QTest::newRow("UTF-8 value") << QByteArray("[S]\r\nk=Gr\xC3\xBC\xC3\x9F\x65\r\n") << "S"
                                 << "k" << QString::fromUtf8("Grüße");
    QTest::newRow("byte order mark before section")
        << QByteArray("\xEF\xBB\xBF[S]\r\nk=v\r\n") << "S"
        << "k"
        << "v";
    QTest::newRow("300 characters cut to 254") << "[S]\r\nk=" + QByteArray(300, 'x') + "\r\n"
                                               << "S"
                                               << "k" << QString(254, 'x');
    QTest::newRow("254 characters whole") << "[S]\r\nk=" + QByteArray(254, 'x') + "\r\n"
                                          << "S"
                                          << "k" << QString(254, 'x');
    QTest::newRow("cut does not split a surrogate pair")
        << "[S]\r\nk=" + QByteArray(253, 'x') + "\xF0\x9F\x98\x80\r\n"
        << "S"
        << "k" << QString(253, 'x');
}

void TestProfileFile::read()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    if (!content.isNull())
        QVERIFY(writeBytes(m_file, content));
    QCOMPARE(ProfileFile::readValue(m_file, section, key), expected);
}

void TestProfileFile::write_data()
{
    QTest::addColumn<QByteArray>("before"); // null: no file at all
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("new file") << QByteArray() << "Glyphsmith"
                              << "first"
                              << "no" << QByteArray("[Glyphsmith]\r\nfirst=no\r\n");
    QTest::newRow("empty value keeps key")
        << QByteArray("[Glyphsmith]\r\nq1config=C:\\q\r\n") << "Glyphsmith"
        << "q1config"
        << "" << QByteArray("[Glyphsmith]\r\nq1config=\r\n");
    QTest::newRow("replace in place, rest untouched")
        << QByteArray("; settings\r\n\r\n[Other]\nfirst=keep\n\n[Glyphsmith]\r\nfirst=yes\r\n"
                      "junk line\r\nq3config=x\r\n\r\n[Last]\r\nz=1")
        << "glyphsmith"
        << "FIRST"
        << "no"
        << QByteArray("; settings\r\n\r\n[Other]\nfirst=keep\n\n[Glyphsmith]\r\nfirst=no\r\n"
                      "junk line\r\nq3config=x\r\n\r\n[Last]\r\nz=1");
    QTest::newRow("key keeps the file's spelling and line end")
        << QByteArray("[S]\n  FIRST = yes\n") << "S"
        << "first"
        << "no" << QByteArray("[S]\nFIRST=no\n");
    QTest::newRow("new key after the section's last key")
        << QByteArray("[S]\r\na=1\r\n; note\r\n\r\n[T]\r\nb=2\r\n") << "S"
        << "c"
        << "3" << QByteArray("[S]\r\na=1\r\nc=3\r\n; note\r\n\r\n[T]\r\nb=2\r\n");
    QTest::newRow("new key in an empty section") << QByteArray("[S]\r\n[T]\r\n") << "S"
                                                 << "c"
                                                 << "3" << QByteArray("[S]\r\nc=3\r\n[T]\r\n");
    QTest::newRow("new section after a blank line")
        << QByteArray("[S]\r\na=1\r\n") << "T"
        << "b"
        << "2" << QByteArray("[S]\r\na=1\r\n\r\n[T]\r\nb=2\r\n");
    QTest::newRow("unterminated last line gets its line end")
        << QByteArray("[S]\r\na=1") << "S"
        << "b"
        << "2" << QByteArray("[S]\r\na=1\r\nb=2\r\n");
    QTest::newRow("only the first of two keys replaced")
        << QByteArray("[S]\r\nk=1\r\nk=2\r\n") << "S"
        << "k"
        << "3" << QByteArray("[S]\r\nk=3\r\nk=2\r\n");
    QTest::newRow("byte order mark kept") << QByteArray("\xEF\xBB\xBF[S]\r\nk=1\r\n") << "S"
                                          << "k"
                                          << "2" << QByteArray("\xEF\xBB\xBF[S]\r\nk=2\r\n");
    QTest::newRow("foreign bytes elsewhere kept")
        << QByteArray("[S]\r\nold=caf\xE9\r\nk=1\r\n") << "S"
        << "k"
        << "2" << QByteArray("[S]\r\nold=caf\xE9\r\nk=2\r\n");
    QTest::newRow("value written as UTF-8")
        << QByteArray() << "S"
        << "k" << QString::fromUtf8("Grüße") << QByteArray("[S]\r\nk=Gr\xC3\xBC\xC3\x9F\x65\r\n");
    // A byte-order mark starting a name or value is a character of it (QString's
    // own UTF-8 decoding drops it).
    QTest::newRow("byte-order mark starting the key")
        << QByteArray("[S]\r\n") << "S" << QChar(0xFEFF) + QStringLiteral("k") << "v"
        << QByteArray("[S]\r\n\xEF\xBB\xBFk=v\r\n");
    QTest::newRow("byte-order mark starting the key, replaced in place")
        << QByteArray("[S]\r\n\xEF\xBB\xBFk=old\r\n") << "S" << QChar(0xFEFF) + QStringLiteral("k")
        << "v" << QByteArray("[S]\r\n\xEF\xBB\xBFk=v\r\n");
    QTest::newRow("byte-order mark starting the value")
        << QByteArray("[S]\r\n") << "S"
        << "k" << QChar(0xFEFF) + QStringLiteral("v") << QByteArray("[S]\r\nk=\xEF\xBB\xBFv\r\n");
    QTest::newRow("blanks in the value kept") << QByteArray() << "S"
                                              << "k"
                                              << " a b " << QByteArray("[S]\r\nk= a b \r\n");
}

void TestProfileFile::write()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);

    if (!before.isNull())
        QVERIFY(writeBytes(m_file, before));
    QVERIFY_OK(ProfileFile::writeValue(m_file, section, key, value));
    QCOMPARE(readBytes(m_file), after);
    QCOMPARE(ProfileFile::readValue(m_file, section, key), value);
    QVERIFY(!QFile::exists(m_file + QLatin1String(".lock")));
}

void TestProfileFile::longValueStoredWholeReadCut()
{
    const QString value(300, QLatin1Char('v'));
    QVERIFY_OK(ProfileFile::writeValue(m_file, QStringLiteral("S"), QStringLiteral("k"), value));
    QVERIFY(readBytes(m_file).contains("k=" + value.toLatin1() + "\r\n"));
    QCOMPARE(ProfileFile::readValue(m_file, QStringLiteral("S"), QStringLiteral("k")),
             value.left(ProfileFile::kMaxValueLength));
}

void TestProfileFile::refusedInput_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("line break in value would add a key") << "S"
                                                         << "k"
                                                         << "x\r\nfirst=yes";
    QTest::newRow("LF in value") << "S"
                                 << "k"
                                 << "x\nfirst=yes";
    QTest::newRow("NUL in value") << "S"
                                  << "k" << QString(QChar(0));
    QTest::newRow("equals sign in key") << "S"
                                        << "a=b"
                                        << "v";
    QTest::newRow("empty key") << "S"
                               << " "
                               << "v";
    QTest::newRow("comment key") << "S"
                                 << ";k"
                                 << "v";
    QTest::newRow("bracket in section") << "S]x"
                                        << "k"
                                        << "v";
    QTest::newRow("empty section") << ""
                                   << "k"
                                   << "v";
}

void TestProfileFile::refusedInput()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);

    const QByteArray before("[S]\r\nk=old\r\n");
    QVERIFY(writeBytes(m_file, before));
    QVERIFY(!ProfileFile::writeValue(m_file, section, key, value).ok());
    QCOMPARE(readBytes(m_file), before);
}

void TestProfileFile::unwritableTarget_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<bool>("parentIsFile");

    QTest::newRow("target is a folder") << "folder.ini" << false;
    QTest::newRow("parent is a file") << "plain/glyph.ini" << true;
    QTest::newRow("folder does not exist") << "missing/glyph.ini" << false;
}

void TestProfileFile::unwritableTarget()
{
    QFETCH(QString, relative);
    QFETCH(bool, parentIsFile);

    if (parentIsFile)
        QVERIFY(writeBytes(m_dir.filePath(QStringLiteral("plain")), "data"));
    else if (!relative.contains(QLatin1Char('/')))
        QVERIFY(QDir(m_dir.path()).mkdir(relative));
    const QString target = m_dir.filePath(relative);

    QVERIFY(!ProfileFile::writeValue(target, QStringLiteral("S"), QStringLiteral("k"),
                                     QStringLiteral("v"))
                 .ok());
    QCOMPARE(ProfileFile::readValue(target, QStringLiteral("S"), QStringLiteral("k")), QString());
    if (parentIsFile)
        QCOMPARE(readBytes(m_dir.filePath(QStringLiteral("plain"))), QByteArray("data"));
}

void TestProfileFile::readOnlyFileUntouched()
{
    if (geteuid() == 0)
        QSKIP("root may write a read-only file");
    const QByteArray before("[S]\r\nk=old\r\n");
    QVERIFY(writeBytes(m_file, before));
    QVERIFY(QFile::setPermissions(m_file, QFile::ReadOwner | QFile::ReadGroup));
    QVERIFY(!ProfileFile::writeValue(m_file, QStringLiteral("S"), QStringLiteral("k"),
                                     QStringLiteral("new"))
                 .ok());
    QCOMPARE(readBytes(m_file), before);
    QFile::setPermissions(m_file, QFile::ReadOwner | QFile::WriteOwner);
}

void TestProfileFile::keepsPermissions()
{
    QVERIFY(writeBytes(m_file, "[S]\r\nk=old\r\n"));
    const auto perms = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser |
                       QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(m_file, perms));
    QVERIFY_OK(ProfileFile::writeValue(m_file, QStringLiteral("S"), QStringLiteral("k"),
                                       QStringLiteral("new")));
    QCOMPARE(QFile::permissions(m_file), perms);
}

void TestProfileFile::concurrentWritersLoseNothing()
{
    constexpr int kPerThread = 40;
    auto writer = [this](const QString &prefix) {
        return QThread::create([this, prefix] {
            for (int i = 0; i < kPerThread; ++i)
                (void)ProfileFile::writeValue(m_file, QStringLiteral("S"),
                                              prefix + QString::number(i), QString::number(i));
        });
    };
    std::unique_ptr<QThread> a(writer(QStringLiteral("a")));
    std::unique_ptr<QThread> b(writer(QStringLiteral("b")));
    a->start();
    b->start();
    QVERIFY(a->wait(60000));
    QVERIFY(b->wait(60000));

    for (int i = 0; i < kPerThread; ++i) {
        for (const QString &prefix : {QStringLiteral("a"), QStringLiteral("b")})
            QCOMPARE(
                ProfileFile::readValue(m_file, QStringLiteral("S"), prefix + QString::number(i)),
                QString::number(i));
    }
}

QTEST_GUILESS_MAIN(TestProfileFile)
#include "tst_profilefile.moc"
