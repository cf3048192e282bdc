// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelock.h"
#include "testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/wait.h>
#include <unistd.h>

using Kind = FileError::Kind;
using TestFiles::writeBytes;

class TestFileLock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void takeOver_data();
    void takeOver();
    void liveHolderKeepsIt();
};

void TestFileLock::takeOver_data()
{
    QTest::addColumn<QString>("left");
    QTest::newRow("empty lock file of a crash before it was written") << "empty";
    QTest::newRow("lock file naming a dead program") << "dead owner";
    QTest::newRow("lock held by a program that was killed") << "killed holder";
}

// Whatever a dead writer left, the lock is taken at once: a wait of zero.
void TestFileLock::takeOver()
{
    QFETCH(QString, left);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("glyph.ini.lock"));
    if (left == QLatin1String("empty")) {
        QVERIFY(writeBytes(path, QByteArray()));
    } else if (left == QLatin1String("dead owner")) {
        QVERIFY(writeBytes(path, "2147483646\nglyphsmith\nthis-host\n"));
    } else {
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            FileLock lock(path);
            ::_exit(lock.lock(0).ok() ? 0 : 1); // dies holding it
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        QVERIFY(QFile::exists(path));
    }

    FileLock lock(path);
    const FileError taken = lock.lock(0);
    QVERIFY2(taken.ok(), qPrintable(taken.text()));
    lock.unlock();
    QVERIFY(!QFile::exists(path));
}

void TestFileLock::liveHolderKeepsIt()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("registry.reg.lock"));
    FileLock holder(path);
    QVERIFY(holder.lock(0).ok());

    FileLock other(path);
    const FileError refused = other.lock(50);
    QCOMPARE(refused.kind(), Kind::Locked);
    QVERIFY(!other.isLocked());

    // Let go (and removed): the next one gets it, on a fresh lock file.
    holder.unlock();
    QVERIFY(other.lock(0).ok());
    QVERIFY(QFile::exists(path));
}

QTEST_GUILESS_MAIN(TestFileLock)
#include "tst_filelock.moc"
