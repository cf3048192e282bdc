// SPDX-License-Identifier: GPL-3.0-or-later
// glyphsmith.cfg run from autoexec.cfg: the player's autoexec.cfg kept byte for
// byte and given back by undo, the save all or nothing on a failing disk, and
// Debian's ioquake3 showing that the name survives the engine's own config.
#include "faultshim.h"
#include "fileerrortest.h"
#include "gamescript.h"
#include "ioq3probe.h"
#include "testfiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using Change = GameScript::AutoexecChange;
using Removal = GameScript::Removal;
using Fault = FaultShim::Fault;
using Kind = FileError::Kind;
using TestFiles::readBytes;
using TestFiles::writeBytes;

namespace {

const QByteArray kAdded = "exec glyphsmith.cfg // added by Glyphsmith";
const QByteArray kEnded = "exec glyphsmith.cfg // added by Glyphsmith, which ended the line above";
const QByteArray kCreated = "exec glyphsmith.cfg // added by Glyphsmith, which created this file";

const QByteArray kName = "^1Gl\xe9ph^7\xa0sm\x80th"; // colour codes and high bytes
const QByteArray kOtherName = "^4Other\xff";

QByteArray nameLine(const QByteArray &name)
{
    return "seta name \"" + name + '"';
}

// Relative path -> bytes of every file below a folder.
using Snapshot = QMap<QString, QByteArray>;

Snapshot snapshot(const QString &root)
{
    Snapshot files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        // A pipe would block the read; a link to nothing has nothing to read.
        files.insert(QDir(root).relativeFilePath(path),
                     QFileInfo(path).isFile() ? readBytes(path) : "<not a file>");
    }
    return files;
}

enum class Setup { AddsLine, CreatesFile, AlreadyRuns };
enum class Step { Save, Undo };

// A game folder with glyphsmith.cfg from an earlier save, and autoexec.cfg as
// `setup` says.
void prepare(const QString &folder, Setup setup)
{
    if (!writeBytes(folder + "/glyphsmith.cfg", GameScript::scriptBytes(nameLine(kOtherName))))
        qFatal("setup failed");
    if (setup == Setup::AddsLine && !writeBytes(folder + "/autoexec.cfg", "bind x quit\r\n"))
        qFatal("setup failed");
    if (setup == Setup::AlreadyRuns &&
        !writeBytes(folder + "/autoexec.cfg", "bind x quit\nexec glyphsmith.cfg\n"))
        qFatal("setup failed");
}

// The step on a prepared folder; an undo comes after a save that worked.
FileError run(const QString &folder, Step step, FileError *notUndone = nullptr)
{
    if (step == Step::Undo)
        return GameScript::undo(folder).error;
    const GameScript::Saved saved = GameScript::save(folder, nameLine(kName));
    if (notUndone)
        *notUndone = saved.notUndone;
    return saved.error;
}

void prepareForStep(const QString &folder, Setup setup, Step step)
{
    prepare(folder, setup);
    if (step == Step::Undo && !GameScript::save(folder, nameLine(kName)).error.ok())
        qFatal("setup failed: save");
}

QStringList referenceCalls(Setup setup, Step step)
{
    QTemporaryDir dir;
    prepareForStep(dir.path(), setup, step);
    FaultShim::arm(dir.path().toUtf8(), {}, Fault::IoError);
    if (!run(dir.path(), step).ok())
        qFatal("reference run failed");
    return FaultShim::disarm();
}

const char *setupName(Setup setup)
{
    switch (setup) {
    case Setup::AddsLine:
        return "line added";
    case Setup::CreatesFile:
        return "autoexec.cfg created";
    case Setup::AlreadyRuns:
        return "autoexec.cfg already runs it";
    }
    return "";
}

} // namespace

Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(Removal)
Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(Step)

class TestGameScript : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void autoexecKept_data();
    void autoexecKept();
    void engineRunsTheName_data() { autoexecKept_data(); }
    void engineRunsTheName();
    void engineKeepsTheName();
    void refused_data();
    void refused();
    void failingDisk_data();
    void failingDisk();
};

void TestGameScript::initTestCase()
{
    // Past RLIMIT_FSIZE a write then fails with EFBIG instead of killing us.
    std::signal(SIGXFSZ, SIG_IGN);
}

void TestGameScript::autoexecKept_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<Change>("change");
    QTest::addColumn<Removal>("removal");
    QTest::addColumn<QByteArray>("undone"); // autoexec.cfg after undo

    // Our line follows; `after` only where more changes.
    auto adds = [](const char *row, const QByteArray &before, QByteArray after = {}) {
        if (after.isNull())
            after = before + kAdded + "\n";
        QTest::newRow(row) << true << before << after << Change::Added << Removal::Removed
                           << before;
    };
    auto runs = [](const char *row, const QByteArray &before) {
        QTest::newRow(row) << true << before << before << Change::AlreadyRuns << Removal::NotOurs
                           << before;
    };

    QTest::newRow("missing file: created, and removed by undo")
        << false << QByteArray() << kCreated + "\n"
        << Change::Created << Removal::FileRemoved << QByteArray();
    adds("empty file", "", kAdded + "\n");
    adds("LF, last line ended", "seta a 1\nbind x y\n");
    adds("LF, last line not ended", "seta a 1\nbind x y", "seta a 1\nbind x y\n" + kEnded + "\n");
    adds("CR LF, last line ended", "a\r\nb\r\n", "a\r\nb\r\n" + kAdded + "\r\n");
    adds("CR LF, last line not ended", "a\r\nb", "a\r\nb\r\n" + kEnded + "\r\n");
    adds("one line, no line end", "bind x y", "bind x y\n" + kEnded + "\n");
    adds("ends in a lone CR", "a\r", "a\r\n" + kEnded + "\n");
    adds("high bytes and a blank last line kept", "say \xe9\x80\xff\n\n");
    adds("commented out with //", "// exec glyphsmith.cfg\n");
    adds("commented out with /* */", "/* exec glyphsmith.cfg */\n");
    adds("inside a /* */ over lines", "/*\nexec glyphsmith.cfg\n*/\n");
    adds("after // with a ;", "// x; exec glyphsmith.cfg\n");
    adds("inside a quoted value", "seta a \"x;exec glyphsmith.cfg\"\n");
    adds("file name in other case", "exec GLYPHSMITH.CFG\n");
    adds("with a second argument", "exec glyphsmith.cfg x\n");
    adds("without .cfg (ioquake3 only)", "exec glyphsmith\n");
    adds("comment glued to the word (Quake reads one word)", "exec glyphsmith.cfg//c\n");
    adds("after a CR inside the line", "x\rexec glyphsmith.cfg\n");
    runs("exec line", "exec glyphsmith.cfg\n");
    runs("command in capitals", "EXEC glyphsmith.cfg\n");
    runs("quoted file name", "exec \"glyphsmith.cfg\"\n");
    runs("among ;-separated commands", "seta a 1; exec glyphsmith.cfg ;seta b 2\n");
    runs("comment after it", "exec glyphsmith.cfg // my name\n");
    runs("comment glued to the closing quote", "exec \"glyphsmith.cfg\"//c\n");
    runs("CR LF, blanks before it", "bind x y\r\n \texec glyphsmith.cfg\r\n");
    runs("last line, not ended", "bind x y\nexec glyphsmith.cfg");
    runs("quote never closed", "exec \"glyphsmith.cfg\n");
    runs("after a /* */ that ended on an earlier line", "/*\nx\n*/\nexec glyphsmith.cfg\n");
    QTest::newRow("our line already there: kept, then taken out by undo")
        << true << "seta a 1\n" + kAdded + "\nseta b 2"
        << "seta a 1\n" + kAdded + "\nseta b 2" << Change::AlreadyRuns << Removal::Removed
        << QByteArray("seta a 1\nseta b 2");
    QTest::newRow("lines added after ours: the line end above stays")
        << true << "x\n" + kEnded + "\ny\n"
        << "x\n" + kEnded + "\ny\n"
        << Change::AlreadyRuns << Removal::Removed << QByteArray("x\ny\n");
    QTest::newRow("a file we created, with a line added since: kept")
        << true << kCreated + "\nbind x y\n"
        << kCreated + "\nbind x y\n"
        << Change::AlreadyRuns << Removal::Removed << QByteArray("bind x y\n");
}

// Saved twice (the second with another name), then undone.
void TestGameScript::autoexecKept()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(Change, change);
    QFETCH(Removal, removal);
    QFETCH(QByteArray, undone);

    QTemporaryDir dir;
    const QString autoexec = dir.filePath("autoexec.cfg");
    const QString script = dir.filePath("glyphsmith.cfg");
    if (exists)
        QVERIFY(writeBytes(autoexec, before));

    const GameScript::Saved first = GameScript::save(dir.path(), nameLine(kOtherName));
    QVERIFY_OK(first.error);
    QCOMPARE(first.autoexec, change);
    QVERIFY(!first.scriptReplaced);
    QCOMPARE(first.scriptPath, script);
    QCOMPARE(first.autoexecPath, autoexec);
    QCOMPARE(readBytes(autoexec), after);

    const GameScript::Saved second = GameScript::save(dir.path(), nameLine(kName));
    QVERIFY_OK(second.error);
    QCOMPARE(second.autoexec, Change::AlreadyRuns);
    QVERIFY(second.scriptReplaced);
    QCOMPARE(readBytes(autoexec), after);
    QCOMPARE(readBytes(script),
             "// Glyphsmith writes this file; each save replaces it.\n" + nameLine(kName) + "\n");

    const GameScript::Undone undo = GameScript::undo(dir.path());
    QVERIFY_OK(undo.error);
    QCOMPARE(undo.removal, removal);
    QCOMPARE(undo.autoexecPath, autoexec);
    if (removal == Removal::FileRemoved)
        QVERIFY(!QFile::exists(autoexec));
    else
        QCOMPARE(readBytes(autoexec), undone);
    // Only the two files: no temporary, lock or kept copy left behind.
    QStringList expected = {"glyphsmith.cfg"};
    if (removal != Removal::FileRemoved)
        expected.prepend("autoexec.cfg");
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
}

// Whatever autoexec.cfg held, after the save the engine starts with our name.
void TestGameScript::engineRunsTheName()
{
    IOQ3PROBE_SKIP_IF_MISSING();
    QFETCH(bool, exists);
    QFETCH(QByteArray, before);

    QTemporaryDir dir;
    const Ioq3Probe probe(dir.path());
    if (exists)
        QVERIFY(writeBytes(probe.homeFolder() + "/autoexec.cfg", before));
    QVERIFY_OK(GameScript::save(probe.homeFolder(), nameLine(kName)).error);
    const Ioq3Probe::Run run = probe.start();
    QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure + '\n' + run.log));
    QCOMPARE(run.name, kName);
}

// The issue's acceptance: an existing autoexec.cfg and a config naming another
// player; the name set in the game (and so in the config the engine rewrites)
// gives way to ours at the next start; a second save takes over at once.
void TestGameScript::engineKeepsTheName()
{
    IOQ3PROBE_SKIP_IF_MISSING();
    QTemporaryDir dir;
    const Ioq3Probe probe(dir.path());
    const QString home = probe.homeFolder();
    const QByteArray autoexec = "seta cl_run 1\r\nbind TAB +scores";
    QVERIFY(writeBytes(home + "/autoexec.cfg", autoexec));
    QVERIFY(writeBytes(home + "/q3config.cfg", "seta name \"FromConfig\"\nseta cg_fov \"100\"\n"));

    const Ioq3Probe::Run unchanged = probe.start();
    QVERIFY2(unchanged.failure.isEmpty(), qPrintable(unchanged.failure + '\n' + unchanged.log));
    QCOMPARE(unchanged.name, QByteArray("FromConfig"));

    QVERIFY_OK(GameScript::save(home, nameLine(kName)).error);
    // The player renames in the game; the engine writes that into its config.
    const Ioq3Probe::Run renamed =
        probe.start({QStringLiteral("seta name InGame"), Ioq3Probe::rewriteConfig()});
    QVERIFY2(renamed.failure.isEmpty(), qPrintable(renamed.failure + '\n' + renamed.log));
    QCOMPARE(renamed.name, QByteArray("InGame"));
    QVERIFY(readBytes(home + "/q3config.cfg").contains("seta name \"InGame\""));

    const Ioq3Probe::Run restarted = probe.start();
    QVERIFY2(restarted.failure.isEmpty(), qPrintable(restarted.failure + '\n' + restarted.log));
    QCOMPARE(restarted.name, kName);

    QVERIFY_OK(GameScript::save(home, nameLine(kOtherName)).error);
    const Ioq3Probe::Run again = probe.start();
    QVERIFY2(again.failure.isEmpty(), qPrintable(again.failure + '\n' + again.log));
    QCOMPARE(again.name, kOtherName);
    const QByteArray lines = readBytes(home + "/autoexec.cfg");
    QCOMPARE(lines.count("exec glyphsmith.cfg"), 1);
    QVERIFY(lines.startsWith(autoexec));
}

void TestGameScript::refused_data()
{
    QTest::addColumn<QString>("standing"); // what stands in the way
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("named"); // the path the error names, below the folder

    const QByteArray line = nameLine(kName);
    QTest::newRow("no such folder") << "gone" << line << Kind::NotFound << "gone";
    QTest::newRow("the folder is a file") << "file" << line << Kind::NotAFile << "file";
    QTest::newRow("glyphsmith.cfg is a folder")
        << "glyphsmith.cfg/" << line << Kind::NotAFile << "game/glyphsmith.cfg";
    QTest::newRow("autoexec.cfg is a folder")
        << "autoexec.cfg/" << line << Kind::NotAFile << "game/autoexec.cfg";
    QTest::newRow("autoexec.cfg is a pipe")
        << "autoexec.cfg|" << line << Kind::NotAFile << "game/autoexec.cfg";
    QTest::newRow("autoexec.cfg links to nothing")
        << "autoexec.cfg@" << line << Kind::NotAFile << "game/autoexec.cfg";
    QTest::newRow("a line feed in the name line")
        << "" << QByteArray("seta name \"a\nquit\"") << Kind::Refused << "game/glyphsmith.cfg";
    QTest::newRow("a CR in the name line")
        << "" << QByteArray("seta name \"a\rquit\"") << Kind::Refused << "game/glyphsmith.cfg";
    QTest::newRow("a zero byte in autoexec.cfg") << "autoexec.cfg=a\\0b\n"
                                                 << line << Kind::Refused << "game/autoexec.cfg";
    QTest::newRow("autoexec.cfg ends inside /*") << "autoexec.cfg=x\n/* old\nexec a.cfg\n"
                                                 << line << Kind::Refused << "game/autoexec.cfg";
}

// Refused before anything is written: every file stays as it was.
void TestGameScript::refused()
{
    QFETCH(QString, standing);
    QFETCH(QByteArray, line);
    QFETCH(Kind, kind);
    QFETCH(QString, named);

    QTemporaryDir dir;
    QString folder = dir.filePath("game");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writeBytes(folder + "/glyphsmith.cfg", "old\n"));
    const QString target = folder + '/' + standing.left(standing.size() - 1);
    if (standing == "gone") {
        folder = dir.filePath("gone");
    } else if (standing == "file") {
        folder = dir.filePath("file");
        QVERIFY(writeBytes(folder, "x"));
    } else if (standing.endsWith('/')) {
        QFile::remove(target);
        QVERIFY(QDir().mkpath(target));
    } else if (standing.endsWith('|')) {
        QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0644), 0);
    } else if (standing.endsWith('@')) {
        QVERIFY(QFile::link(dir.filePath("nothing"), target));
    } else if (const qsizetype eq = standing.indexOf('='); eq > 0) {
        QVERIFY(writeBytes(folder + '/' + standing.left(eq),
                           standing.mid(eq + 1).toUtf8().replace("\\0", QByteArray(1, '\0'))));
    }
    const Snapshot before = snapshot(dir.path());

    const GameScript::Saved saved = GameScript::save(folder, line);
    QCOMPARE(saved.error.kind(), kind);
    QCOMPARE(saved.error.path(), dir.filePath(named));
    QCOMPARE(snapshot(dir.path()), before);
}

void TestGameScript::failingDisk_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<Step>("step");
    QTest::addColumn<QList<int>>("calls");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<qint64>("limit"); // RLIMIT_FSIZE instead of a fault, when not -1

    for (const Setup setup : {Setup::AddsLine, Setup::CreatesFile, Setup::AlreadyRuns}) {
        QTemporaryDir dir;
        prepare(dir.path(), setup);
        if (!GameScript::save(dir.path(), nameLine(kName)).error.ok())
            qFatal("reference save failed");
        qint64 largest = 0;
        for (const QByteArray &bytes : snapshot(dir.path()))
            largest = std::max<qint64>(largest, bytes.size());
        for (const qint64 limit : {qint64(0), qint64(1), largest / 2, largest - 1})
            QTest::addRow("save, %s, files up to %lld bytes", setupName(setup), limit)
                << setup << Step::Save << QList<int>() << Fault::IoError << limit;
    }
    for (const Step step : {Step::Save, Step::Undo}) {
        for (const Setup setup : {Setup::AddsLine, Setup::CreatesFile, Setup::AlreadyRuns}) {
            // Undo writes nothing when the line is not ours, and removes a file we
            // created without a write.
            if (step == Step::Undo && setup != Setup::AddsLine)
                continue;
            const QStringList calls = referenceCalls(setup, step);
            for (int call = 1; call <= calls.size(); ++call) {
                const QString &what = calls.at(call - 1);
                QList<Fault> faults = {Fault::IoError};
                if (what == "write")
                    faults = {Fault::NoSpace, Fault::ShortThenFull, Fault::Partial};
                for (const Fault fault : faults)
                    QTest::addRow("%s, %s, call %d (%s)%s", step == Step::Save ? "save" : "undo",
                                  setupName(setup), call, qPrintable(what),
                                  fault == Fault::Partial ? ", cut short" : "")
                        << setup << step << QList<int>{call} << fault << qint64(-1);
            }
        }
    }
    // glyphsmith.cfg's rename fails, and so does putting autoexec.cfg back (a
    // created one goes by an unlink, which does not fail here): the caller is
    // told what was left.
    const QStringList calls = referenceCalls(Setup::AddsLine, Step::Save);
    const int last = int(calls.lastIndexOf("rename")) + 1;
    QTest::newRow("save, line added, glyphsmith.cfg not renamed, autoexec.cfg not set back")
        << Setup::AddsLine << Step::Save << QList<int>{last, last + 1} << Fault::IoError
        << qint64(-1);
}

void TestGameScript::failingDisk()
{
    QFETCH(Setup, setup);
    QFETCH(Step, step);
    QFETCH(QList<int>, calls);
    QFETCH(Fault, fault);
    QFETCH(qint64, limit);

    QTemporaryDir reference;
    prepareForStep(reference.path(), setup, step);
    QVERIFY_OK(run(reference.path(), step));

    QTemporaryDir dir;
    prepareForStep(dir.path(), setup, step);
    const Snapshot before = snapshot(dir.path());
    rlimit saved = {};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit lowered = saved;
    if (limit >= 0)
        lowered.rlim_cur = rlim_t(limit); // EFBIG from the kernel, at whichever write
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &lowered), 0);
    FaultShim::arm(dir.path().toUtf8(), calls, fault);
    FileError notUndone;
    const FileError result = run(dir.path(), step, &notUndone);
    FaultShim::disarm();
    ::setrlimit(RLIMIT_FSIZE, &saved);

    if (fault == Fault::Partial) {
        // A short write is no failure: the rest follows.
        QVERIFY_OK(result);
        QCOMPARE(snapshot(dir.path()), snapshot(reference.path()));
        return;
    }
    QVERIFY(!result.ok());
    if (calls.size() > 1) {
        QCOMPARE(notUndone.kind(), Kind::UndoError);
        QCOMPARE(snapshot(dir.path()).value("glyphsmith.cfg"), before.value("glyphsmith.cfg"));
        QCOMPARE(readBytes(dir.filePath("autoexec.cfg")),
                 readBytes(reference.filePath("autoexec.cfg")));
        return;
    }
    QVERIFY2(notUndone.ok(), qPrintable(notUndone.text()));
    QCOMPARE(snapshot(dir.path()), before);
}

QTEST_GUILESS_MAIN(TestGameScript)
#include "tst_gamescript.moc"
