// SPDX-License-Identifier: GPL-3.0-or-later
// The rules every writer of the programs' files keeps, checked on each of them:
// what stands at the path decides whether it is written, and leftovers of
// earlier writes that died are cleared.
#include "bitmapexport.h"
#include "fileerrortest.h"
#include "fontpicture.h"
#include "keystore.h"
#include "profilefile.h"
#include "scriptwriter.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using Kind = FileError::Kind;
using TestFiles::readBytes;
using TestFiles::writeBytes;

namespace {

enum class Writer { Settings, KeyStore, Script, Bitmap };

FileError write(Writer writer, const QString &path)
{
    switch (writer) {
    case Writer::Settings:
        return ProfileFile::writeValue(path, QStringLiteral("S"), QStringLiteral("k"),
                                       QStringLiteral("new"));
    case Writer::KeyStore:
        return KeyStore(path).storeString(KeyStore::Root::CurrentUser, QStringLiteral("K"),
                                          QStringLiteral("n"), "new", KeyStore::MissingKey::Create);
    case Writer::Script:
        return ScriptWriter::appendLine(path, "LINE", ScriptWriter::Tail::Always);
    case Writer::Bitmap: {
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::red);
        return BitmapExport::save(picture, path);
    }
    }
    return {};
}

// What the file's reader makes of it; nothing for writers without one.
std::optional<QString> read(Writer writer, const QString &path)
{
    switch (writer) {
    case Writer::Settings:
        return ProfileFile::readValue(path, QStringLiteral("S"), QStringLiteral("k"));
    case Writer::KeyStore: {
        const auto value =
            KeyStore(path).readValue(KeyStore::Root::CurrentUser, QStringLiteral("K"), "n");
        return value ? QString::fromLatin1(value->bytes) : QString();
    }
    case Writer::Bitmap: {
        FontPicture picture;
        return picture.load(path).ok() ? QStringLiteral("loaded") : QString();
    }
    case Writer::Script:
        break;
    }
    return std::nullopt;
}

QByteArray oldContent(Writer writer)
{
    switch (writer) {
    case Writer::Settings:
        return "[S]\r\nk=old\r\n";
    case Writer::KeyStore:
        return "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"n\"=\"old\"\r\n";
    case Writer::Script:
        return "old\r\n";
    case Writer::Bitmap:
        return "not a picture";
    }
    return {};
}

// The largest file each writer reads before it writes.
qint64 readLimit(Writer writer)
{
    switch (writer) {
    case Writer::Settings:
        return ProfileFile::kMaxFileSize;
    case Writer::KeyStore:
        return KeyStore::kMaxFileSize;
    case Writer::Script:
        return ScriptWriter::kMaxFileSize;
    case Writer::Bitmap:
        break;
    }
    return FontPicture::kMaxFileSize;
}

} // namespace

class TestFileRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refusedTargets_data();
    void refusedTargets();
    void linkToAFileIsWrittenThrough_data();
    void linkToAFileIsWrittenThrough();
    void leftoversOfDeadWritersAreCleared_data();
    void leftoversOfDeadWritersAreCleared();
    void oversizedFilesAreRefused_data();
    void oversizedFilesAreRefused();

private:
    static void addWriters();
};

void TestFileRules::addWriters()
{
    QTest::addColumn<Writer>("writer");
    QTest::newRow("settings") << Writer::Settings;
    QTest::newRow("key store") << Writer::KeyStore;
    QTest::newRow("script") << Writer::Script;
    QTest::newRow("bitmap") << Writer::Bitmap;
}

void TestFileRules::refusedTargets_data()
{
    QTest::addColumn<Writer>("writer");
    QTest::addColumn<QString>("situation");
    for (const auto &[name, writer] : {std::pair{"settings", Writer::Settings},
                                       {"key store", Writer::KeyStore},
                                       {"script", Writer::Script},
                                       {"bitmap", Writer::Bitmap}}) {
        for (const char *situation : {"link to nothing", "folder", "pipe", "link to a device"})
            QTest::addRow("%s, %s", name, situation) << writer << QString::fromLatin1(situation);
    }
}

// Nothing is created elsewhere, nothing blocks, nothing is read without end.
void TestFileRules::refusedTargets()
{
    QFETCH(Writer, writer);
    QFETCH(QString, situation);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("file"));
    const QString elsewhere = dir.filePath(QStringLiteral("elsewhere"));
    if (situation == QLatin1String("link to nothing"))
        QVERIFY(QFile::link(elsewhere, path));
    else if (situation == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(path));
    else if (situation == QLatin1String("pipe"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);

    const FileError error = write(writer, path);
    QCOMPARE(error.kind(), Kind::NotAFile);
    QVERIFY2(error.text().contains(path), qPrintable(error.text()));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
    QVERIFY(!QFileInfo::exists(elsewhere));
    if (const auto got = read(writer, path))
        QCOMPARE(*got, QString());
}

void TestFileRules::linkToAFileIsWrittenThrough_data()
{
    addWriters();
}

void TestFileRules::linkToAFileIsWrittenThrough()
{
    QFETCH(Writer, writer);

    QTemporaryDir dir;
    const QString real = dir.filePath(QStringLiteral("real"));
    const QString link = dir.filePath(QStringLiteral("link"));
    QVERIFY(writeBytes(real, oldContent(writer)));
    QVERIFY(QFile::link(real, link));

    QVERIFY_OK(write(writer, link));
    QVERIFY(QFileInfo(link).isSymLink());
    QVERIFY(readBytes(real) != oldContent(writer));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{QStringLiteral("link"), QStringLiteral("real")}));
}

void TestFileRules::leftoversOfDeadWritersAreCleared_data()
{
    addWriters();
}

// A writer killed between creating the temporary and renaming it, or while
// holding the lock, leaves both behind: the next write of the file clears its
// own temporaries and takes the lock over at once, and touches nothing else.
void TestFileRules::leftoversOfDeadWritersAreCleared()
{
    QFETCH(Writer, writer);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("glyph.ini"));
    QVERIFY(writeBytes(path, oldContent(writer)));
    QVERIFY(writeBytes(path + QStringLiteral(".glyphsmith-Ab12Cd"), "stale"));
    QVERIFY(writeBytes(path + QStringLiteral(".lock"), QByteArray()));
    const QStringList others = {QStringLiteral("glyph.ini.backup"),
                                QStringLiteral("glyph.ini.glyphsmith-notours"),
                                QStringLiteral("other.ini.glyphsmith-Ab12Cd")};
    for (const QString &other : others)
        QVERIFY(writeBytes(dir.filePath(other), "keep"));

    QVERIFY_OK(write(writer, path));
    QStringList expected = others;
    expected << QStringLiteral("glyph.ini");
    expected.sort();
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
}

void TestFileRules::oversizedFilesAreRefused_data()
{
    // The bitmap export reads nothing before it writes.
    QTest::addColumn<Writer>("writer");
    QTest::newRow("settings") << Writer::Settings;
    QTest::newRow("key store") << Writer::KeyStore;
    QTest::newRow("script") << Writer::Script;
}

void TestFileRules::oversizedFilesAreRefused()
{
    QFETCH(Writer, writer);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("file"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    // Sparse: as large as the limit and a byte, without using the disk.
    QVERIFY(file.write(oldContent(writer)) > 0);
    QVERIFY(file.resize(readLimit(writer) + 1));
    file.close();

    const FileError error = write(writer, path);
    QCOMPARE(error.kind(), Kind::TooLarge);
    QCOMPARE(QFileInfo(path).size(), readLimit(writer) + 1);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"file"});
    if (const auto got = read(writer, path))
        QCOMPARE(*got, QString());
}

QTEST_GUILESS_MAIN(TestFileRules)
#include "tst_filerules.moc"
