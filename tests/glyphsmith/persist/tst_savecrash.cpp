// SPDX-License-Identifier: GPL-3.0-or-later
// A child process saves every kind of file in a loop and is killed at random
// moments, a few hundred times: afterwards each file holds exactly an old or a
// new content, and the next save goes through at once, clearing what the dead
// writer left.
#include "bitmapexport.h"
#include "keystore.h"
#include "profilefile.h"
#include "scriptwriter.h"
#include "testfiles.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using TestFiles::readBytes;
using TestFiles::writeBytes;

namespace {

constexpr int kKills = 300;
const QByteArray kScriptStart("bind x quit\r\n");
const QByteArray kAppended("\r\nLINE\r\n");

QImage picture(bool odd)
{
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(odd ? Qt::green : Qt::blue);
    return image;
}

// The files, and every content each may hold.
struct Files
{
    explicit Files(const QString &folder)
        : settings(folder + QStringLiteral("/glyph.ini")),
          store(folder + QStringLiteral("/registry.reg")),
          script(folder + QStringLiteral("/config.cfg")),
          bitmap(folder + QStringLiteral("/name.bmp"))
    {}

    // Save number `i`: each file alternates between two contents, and the script
    // grows by one line.
    bool save(int i) const
    {
        const bool odd = i % 2;
        const QString text = odd ? QStringLiteral("odd") : QStringLiteral("even");
        const bool settingsOk =
            ProfileFile::writeValue(settings, QStringLiteral("S"), QStringLiteral("k"), text).ok();
        const FileError stored = KeyStore(store).storeString(
            KeyStore::Root::CurrentUser, QStringLiteral("K"), QStringLiteral("n"), text.toLatin1(),
            KeyStore::MissingKey::Create);
        const bool scriptOk =
            ScriptWriter::appendLine(script, "LINE", ScriptWriter::Tail::WhenCreated).ok();
        const bool bitmapOk = BitmapExport::save(picture(odd), bitmap).ok();
        return settingsOk && stored.ok() && scriptOk && bitmapOk;
    }

    QString settings;
    QString store;
    QString script;
    QString bitmap;
};

QByteArray bmpBytes(bool odd)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture(odd).convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
    return bytes;
}

// The script as some number of whole saves left it.
bool isWholeScript(const QByteArray &bytes)
{
    if (!bytes.startsWith(kScriptStart))
        return false;
    const qsizetype rest = bytes.size() - kScriptStart.size();
    return rest % kAppended.size() == 0 &&
           bytes.mid(kScriptStart.size()) == kAppended.repeated(rest / kAppended.size());
}

} // namespace

class TestSaveCrash : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedWritersLeaveWholeFiles();
};

void TestSaveCrash::killedWritersLeaveWholeFiles()
{
    // Kills, not the disk, are under test here: on a memory file system where
    // there is one, a round takes a millisecond, not the disk's syncs.
    const QString shm = QStringLiteral("/dev/shm");
    QTemporaryDir dir(QFileInfo(shm).isDir() && QFileInfo(shm).isWritable()
                          ? shm + QStringLiteral("/tst_savecrash-XXXXXX")
                          : QDir::tempPath() + QStringLiteral("/tst_savecrash-XXXXXX"));
    QVERIFY(dir.isValid());
    const Files files(dir.path());
    QVERIFY(writeBytes(files.script, kScriptStart));
    QList<QByteArray> settingsContents;
    QList<QByteArray> storeContents;
    for (int i = 0; i < 2; ++i) {
        QVERIFY(files.save(i));
        settingsContents << readBytes(files.settings);
        storeContents << readBytes(files.store);
    }
    const QList<QByteArray> bitmapContents = {bmpBytes(false), bmpBytes(true)};

    // One save cycle takes about a millisecond; the kills land all over it.
    QRandomGenerator random(20261207);
    int leftovers = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            for (int i = 0;; ++i)
                files.save(i);
        }
        ::usleep(useconds_t(random.bounded(4000)));
        QCOMPARE(::kill(child, SIGKILL), 0);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status));

        QVERIFY2(settingsContents.contains(readBytes(files.settings)),
                 readBytes(files.settings).constData());
        QVERIFY2(storeContents.contains(readBytes(files.store)),
                 readBytes(files.store).constData());
        QVERIFY(isWholeScript(readBytes(files.script)));
        QVERIFY(bitmapContents.contains(readBytes(files.bitmap)));

        const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        if (left.size() > 4)
            ++leftovers;
        // A dead writer's lock never holds up the next save (a wait would end in
        // a failure here), and its temporaries go with that save.
        QVERIFY(files.save(kill));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 4);
    }
    qInfo("%d kills, %d of them left a lock or a temporary behind; every file whole", kKills,
          leftovers);
}

QTEST_GUILESS_MAIN(TestSaveCrash)
#include "tst_savecrash.moc"
