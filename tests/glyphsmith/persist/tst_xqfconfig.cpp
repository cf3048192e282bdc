// SPDX-License-Identifier: GPL-3.0-or-later
// XQF's config file read with XQF's own rules (src/config.c: fgets() into 8 KB,
// parse_line_file(), find_key(), string_unescape()), the Custom CFG set in it
// without touching another byte, the folders XQF lists configs from, and the
// save of both files all or nothing on a failing disk.
#include "faultshim.h"
#include "fileerrortest.h"
#include "gamescript.h"
#include "testfiles.h"
#include "xqfconfig.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

using Game = XqfConfig::Game;
using Fault = FaultShim::Fault;
using Kind = FileError::Kind;
using TestFiles::readBytes;
using TestFiles::writeBytes;

namespace {

const QByteArray kLine = "seta name \"^1G\xe9\"";

// An XQF-written file (each section, its keys, an empty line), with our game's
// section between two others.
const QByteArray kGeneral = "[General]\nterminate=false\nsave lists=true\n\n";
const QByteArray kQuake3 = "[Game: Q3S]\ncmd=/usr/games/ioquake3\ndir=~/q3\n";
const QByteArray kFilter = "[Server Filter]\nfilter names=Clan\\\\Duel\\n\n\n";

using Snapshot = QMap<QString, QByteArray>;

Snapshot snapshot(const QString &root)
{
    Snapshot files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(root).relativeFilePath(path), readBytes(path));
    }
    return files;
}

// A home with ~/.q3a/baseq3 and, unless `config` is null, XQF's config.
struct Home
{
    explicit Home(const QByteArray &config)
    {
        path = dir.path();
        QDir().mkpath(path + "/.q3a/baseq3");
        configPath = path + "/.config/xqf/config";
        if (!config.isNull()) {
            QDir().mkpath(path + "/.config/xqf");
            if (!writeBytes(configPath, config))
                qFatal("setup failed");
        }
    }
    XqfConfig::Saved save() const { return XqfConfig::save(configPath, Game::Quake3, path, kLine); }

    QTemporaryDir dir;
    QString path;
    QString configPath;
};

} // namespace

Q_DECLARE_METATYPE(Game)
Q_DECLARE_METATYPE(Fault)

class TestXqfConfig : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void read_data();
    void read();
    void save_data();
    void save();
    void folders_data();
    void folders();
    void configPath_data();
    void configPath();
    void failingDisk_data();
    void failingDisk();
};

void TestXqfConfig::initTestCase()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

void TestXqfConfig::read_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("key"); // in section "S"
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("found");

    const QByteArray none;
    QTest::newRow("plain") << QByteArray("[S]\nk=v\n") << QByteArray("k") << QByteArray("v")
                           << true;
    QTest::newRow("CR LF line ends")
        << QByteArray("[S]\r\nk=v\r\n") << QByteArray("k") << QByteArray("v") << true;
    QTest::newRow("last line not ended")
        << QByteArray("[S]\nk=v") << QByteArray("k") << QByteArray("v") << true;
    QTest::newRow("names ignore ASCII case")
        << QByteArray("[s]\nCustom CFG=v\n") << QByteArray("custom cfg") << QByteArray("v") << true;
    QTest::newRow("blanks around = belong to key and value")
        << QByteArray("[S]\nk = v\n") << QByteArray("k ") << QByteArray(" v") << true;
    QTest::newRow("key with a blank is another key")
        << QByteArray("[S]\nk =v\n") << QByteArray("k") << none << false;
    QTest::newRow("value up to the end, = inside kept")
        << QByteArray("[S]\nk=a=b\n") << QByteArray("k") << QByteArray("a=b") << true;
    QTest::newRow("last value wins")
        << QByteArray("[S]\nk=1\nk=2\n") << QByteArray("k") << QByteArray("2") << true;
    QTest::newRow("a section twice is one") << QByteArray("[S]\nk=1\n[T]\nk=x\n[S]\nk=2\n")
                                            << QByteArray("k") << QByteArray("2") << true;
    QTest::newRow("keys before any section ignored")
        << QByteArray("k=0\n[S]\nj=1\n") << QByteArray("k") << none << false;
    QTest::newRow("header without ] ignored: keys stay in the section before")
        << QByteArray("[S]\n[T\nk=v\n") << QByteArray("k") << QByteArray("v") << true;
    QTest::newRow("text after ] ignored")
        << QByteArray("[S] old\nk=v\n") << QByteArray("k") << QByteArray("v") << true;
    QTest::newRow("escapes \\n \\r \\\\ undone, others kept")
        << QByteArray("[S]\nk=a\\nb\\rc\\\\d\\te\\\n") << QByteArray("k")
        << QByteArray("a\nb\rc\\d\\te\\") << true;
    QTest::newRow("a zero byte ends the line")
        << QByteArray("[S]\nk=ab\0cd\n", 12) << QByteArray("k") << QByteArray("ab") << true;
    QTest::newRow("= alone is an empty key")
        << QByteArray("[S]\n=\n") << QByteArray("") << QByteArray("") << true;
    QTest::newRow("a one-byte piece is skipped")
        << QByteArray("[S]\n=") << QByteArray("") << QByteArray() << false;
    QTest::newRow("a line past 8191 bytes reads on as a new line")
        << "[S]\nx=" + QByteArray(8189, 'a') + "k=cut\n"
        << QByteArray("k") << QByteArray("cut") << true;
    QTest::newRow("8191 bytes are one piece")
        << "[S]\nx=" + QByteArray(8188, 'a') + "=k\n"
        << QByteArray("x") << QByteArray(8188, 'a') + "=" << true;
}

void TestXqfConfig::read()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);
    QFETCH(bool, found);
    const std::optional<QByteArray> got = XqfConfig::read(file).value("S", key);
    QCOMPARE(got.has_value(), found);
    if (found)
        QCOMPARE(*got, value);
}

void TestXqfConfig::save_data()
{
    QTest::addColumn<QByteArray>("before"); // null: no file
    QTest::addColumn<QByteArray>("after");

    const QByteArray set = "custom cfg=glyphsmith.cfg\n";
    QTest::newRow("no file") << QByteArray() << "[Game: Q3S]\n" + set + "\n";
    QTest::newRow("empty file") << QByteArray("") << "[Game: Q3S]\n" + set + "\n";
    QTest::newRow("no section: added after the others")
        << kGeneral + kFilter << kGeneral + kFilter + "[Game: Q3S]\n" + set + "\n";
    QTest::newRow("no section, last line not ended")
        << QByteArray("[General]\nx=1") << "[General]\nx=1\n\n[Game: Q3S]\n" + set + "\n";
    QTest::newRow("section without the key: added before its empty line")
        << kGeneral + kQuake3 + "\n" + kFilter << kGeneral + kQuake3 + set + "\n" + kFilter;
    QTest::newRow("section last, not ended")
        << kGeneral + kQuake3.chopped(1) << kGeneral + kQuake3 + set;
    QTest::newRow("another value replaced in place")
        << kGeneral + "[Game: Q3S]\ncustom cfg=mine.cfg\ndir=~/q3\n\n" + kFilter
        << kGeneral + "[Game: Q3S]\n" + set + "dir=~/q3\n\n" + kFilter;
    QTest::newRow("names in other case, CR LF kept")
        << QByteArray("[game: q3s]\r\nCustom CFG=old\r\n")
        << QByteArray("[game: q3s]\r\nCustom CFG=glyphsmith.cfg\r\n");
    QTest::newRow("key twice: the one XQF keeps changes")
        << QByteArray("[Game: Q3S]\ncustom cfg=a\n[General]\nx=1\n[Game: Q3S]\ncustom cfg=b\n")
        << QByteArray("[Game: Q3S]\ncustom cfg=a\n[General]\nx=1\n[Game: Q3S]\n" + set);
    QTest::newRow("already set: not written")
        << kGeneral + "[Game: Q3S]\n" + set << kGeneral + "[Game: Q3S]\n" + set;
    const QByteArray longValue = "custom cfg=" + QByteArray(9000, 'o') + "\n";
    QTest::newRow("a value longer than XQF reads whole: a line after it")
        << "[Game: Q3S]\n" + longValue + "\n"
        << "[Game: Q3S]\n" + longValue + set + "\n";
    const QByteArray cut = "custom cfg=" + QByteArray(8180, 'o');
    QTest::newRow("a header in a long line's second piece")
        << "[Game: Q3S]\n" + cut + "[Other]\nq=1\n"
        << "[Game: Q3S]\n" + cut + "\n" + set + "[Other]\nq=1\n";
}

// The file after the save: its bytes, and what XQF reads from it.
void TestXqfConfig::save()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);

    Home home(before);
    const XqfConfig::Saved saved = home.save();
    const QString script = home.path + "/.q3a/baseq3/glyphsmith.cfg";
    QVERIFY_OK(saved.error);
    QCOMPARE(readBytes(home.configPath), after);
    QCOMPARE(saved.configCreated, before.isNull());
    QCOMPARE(saved.scriptPath, script);
    QVERIFY(saved.listed);
    QCOMPARE(readBytes(script), GameScript::scriptBytes(kLine));

    // The bytes above keep every other section; this is what XQF makes of them.
    QCOMPARE(XqfConfig::read(after).value("Game: Q3S", "custom cfg"), QByteArray("glyphsmith.cfg"));
}

void TestXqfConfig::folders_data()
{
    QTest::addColumn<Game>("game");
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QStringList>("existing"); // folders below the home
    QTest::addColumn<QStringList>("listed");   // below the home ("~")
    QTest::addColumn<QString>("script");       // empty: none

    QTest::newRow("QuakeWorld: qw and id1 below its directory")
        << Game::QuakeWorld << QByteArray("[Game: QWS]\ndir=~/quake\n")
        << QStringList{"quake/qw", "quake/id1"} << QStringList{"~/quake/qw", "~/quake/id1"}
        << "~/quake/qw";
    QTest::newRow("QuakeWorld: only id1 exists")
        << Game::QuakeWorld << QByteArray("[Game: QWS]\ndir=~/quake/\n") << QStringList{"quake/id1"}
        << QStringList{"~/quake/qw", "~/quake/id1"} << QString();
    QTest::newRow("Quake: an escaped directory")
        << Game::Quake << QByteArray("[Game: QS]\ndir=~/a\\\\b\n") << QStringList{"a\\b/id1"}
        << QStringList{"~/a\\b/id1"} << "~/a\\b/id1";
    QTest::newRow("Quake II without a directory: nowhere")
        << Game::Quake2 << QByteArray("[Game: Q2S]\ncmd=quake2\n") << QStringList{"baseq2"}
        << QStringList() << QString();
    QTest::newRow("Quake III: its home before its directory")
        << Game::Quake3 << QByteArray("[Game: Q3S]\ndir=~/q3\n")
        << QStringList{"q3/baseq3", ".q3a/baseq3"}
        << QStringList{"~/q3/demoq3", "~/q3/baseq3", "~/.q3a/demoq3", "~/.q3a/baseq3"}
        << "~/.q3a/baseq3";
    QTest::newRow("Quake III: only its directory")
        << Game::Quake3 << QByteArray("[Game: Q3S]\ndir=~/q3\n") << QStringList{"q3/baseq3"}
        << QStringList{"~/q3/demoq3", "~/q3/baseq3", "~/.q3a/demoq3", "~/.q3a/baseq3"}
        << "~/q3/baseq3";
    QTest::newRow("OpenArena: XQF lists baseq3, the game reads baseoa")
        << Game::OpenArena << QByteArray() << QStringList{".openarena/baseq3", ".openarena/baseoa"}
        << QStringList{"~/.openarena/baseq3"} << "~/.openarena/baseoa";
}

void TestXqfConfig::folders()
{
    QFETCH(Game, game);
    QFETCH(QByteArray, config);
    QFETCH(QStringList, existing);
    QFETCH(QStringList, listed);
    QFETCH(QString, script);

    QTemporaryDir dir;
    for (const QString &folder : existing)
        QVERIFY(QDir().mkpath(dir.filePath(folder)));
    const XqfConfig::Settings settings = XqfConfig::read(config);
    listed.replaceInStrings(QStringLiteral("~"), dir.path());
    QCOMPARE(XqfConfig::customConfigFolders(settings, game, dir.path()), listed);
    QCOMPARE(XqfConfig::scriptFolder(settings, game, dir.path()),
             script.replace(QStringLiteral("~"), dir.path()));

    Home home(config);
    QDir(home.path + "/.q3a").removeRecursively();
    for (const QString &folder : existing)
        QVERIFY(QDir().mkpath(home.path + '/' + folder));
    const XqfConfig::Saved saved = XqfConfig::save(home.configPath, game, home.path, kLine);
    if (script.isEmpty()) {
        QCOMPARE(saved.error.kind(), Kind::NotFound);
        QVERIFY(!QFile::exists(home.configPath) || readBytes(home.configPath) == config);
        return;
    }
    QVERIFY_OK(saved.error);
    QCOMPARE(saved.listed, game != Game::OpenArena);
    QCOMPARE(readBytes(saved.scriptPath), GameScript::scriptBytes(kLine));
    QCOMPARE(XqfConfig::read(readBytes(home.configPath))
                 .value(XqfConfig::sectionName(game), "custom cfg"),
             QByteArray("glyphsmith.cfg"));
}

void TestXqfConfig::configPath_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("xdg"); // below the home; empty: unset
    QTest::addColumn<QString>("path");

    QTest::newRow("neither") << QStringList() << QString() << ".config/xqf/config";
    QTest::newRow("current only") << QStringList{".config/xqf"} << QString()
                                  << ".config/xqf/config";
    QTest::newRow("old ~/.qf only: XQF will move it")
        << QStringList{".qf"} << QString() << ".qf/config";
    QTest::newRow("both: XQF uses the current one")
        << QStringList{".qf", ".config/xqf"} << QString() << ".config/xqf/config";
    QTest::newRow("XDG_CONFIG_HOME") << QStringList{".qf", "cfg/xqf"} << "cfg"
                                     << "cfg/xqf/config";
}

void TestXqfConfig::configPath()
{
    QFETCH(QStringList, existing);
    QFETCH(QString, xdg);
    QFETCH(QString, path);
    QTemporaryDir dir;
    for (const QString &folder : existing)
        QVERIFY(QDir().mkpath(dir.filePath(folder)));
    QCOMPARE(XqfConfig::configPath(dir.path(), xdg.isEmpty() ? xdg : dir.filePath(xdg)),
             dir.filePath(path));
}

void TestXqfConfig::failingDisk_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QList<int>>("calls");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<qint64>("limit"); // RLIMIT_FSIZE instead of a fault, when not -1

    const QList<std::pair<const char *, QByteArray>> setups = {
        {"config changed", kGeneral + kQuake3}, {"config created", QByteArray()}};
    for (const auto &[name, config] : setups) {
        Home reference(config);
        FaultShim::arm(reference.path.toUtf8(), {}, Fault::IoError);
        if (!reference.save().error.ok())
            qFatal("reference save failed");
        const QStringList calls = FaultShim::disarm();
        qint64 largest = 0;
        for (const QByteArray &bytes : snapshot(reference.path))
            largest = std::max<qint64>(largest, bytes.size());
        for (const qint64 limit : {qint64(0), qint64(1), largest / 2, largest - 1})
            QTest::addRow("%s, files up to %lld bytes", name, limit)
                << config << QList<int>() << Fault::IoError << limit;
        for (int call = 1; call <= calls.size(); ++call) {
            const QString &what = calls.at(call - 1);
            QList<Fault> faults = {Fault::IoError};
            if (what == "write")
                faults = {Fault::NoSpace, Fault::ShortThenFull, Fault::Partial};
            for (const Fault fault : faults)
                QTest::addRow("%s, call %d (%s)%s", name, call, qPrintable(what),
                              fault == Fault::Partial ? ", cut short" : "")
                    << config << QList<int>{call} << fault << qint64(-1);
        }
        // Taking back a created file is an unlink, which does not fail here.
        if (config.isNull())
            continue;
        const int last = int(calls.lastIndexOf("rename")) + 1;
        QTest::addRow("%s, glyphsmith.cfg not renamed, config not set back", name)
            << config << QList<int>{last, last + 1} << Fault::IoError << qint64(-1);
    }
}

void TestXqfConfig::failingDisk()
{
    QFETCH(QByteArray, config);
    QFETCH(QList<int>, calls);
    QFETCH(Fault, fault);
    QFETCH(qint64, limit);

    Home reference(config);
    Home home(config);
    QVERIFY(writeBytes(home.path + "/.q3a/baseq3/glyphsmith.cfg", "old\n"));
    QVERIFY(writeBytes(reference.path + "/.q3a/baseq3/glyphsmith.cfg", "old\n"));
    QVERIFY_OK(reference.save().error);
    const Snapshot before = snapshot(home.path);
    const QStringList folders = QDir(home.path).entryList(QDir::AllDirs | QDir::Hidden);
    rlimit kept = {};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &kept), 0);
    rlimit lowered = kept;
    if (limit >= 0)
        lowered.rlim_cur = rlim_t(limit); // EFBIG from the kernel, at whichever write
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &lowered), 0);
    FaultShim::arm(home.path.toUtf8(), calls, fault);
    const XqfConfig::Saved saved = home.save();
    FaultShim::disarm();
    ::setrlimit(RLIMIT_FSIZE, &kept);

    if (fault == Fault::Partial) {
        QVERIFY_OK(saved.error);
        QCOMPARE(snapshot(home.path), snapshot(reference.path));
        return;
    }
    QVERIFY(!saved.error.ok());
    if (calls.size() > 1) {
        QCOMPARE(saved.notUndone.kind(), Kind::UndoError);
        QCOMPARE(readBytes(saved.scriptPath), QByteArray("old\n"));
        QCOMPARE(readBytes(home.configPath), readBytes(reference.configPath));
        return;
    }
    QVERIFY2(saved.notUndone.ok(), qPrintable(saved.notUndone.text()));
    QCOMPARE(snapshot(home.path), before);
    // A folder made for the config is gone again.
    QCOMPARE(QDir(home.path).entryList(QDir::AllDirs | QDir::Hidden), folders);
    QCOMPARE(QFile::exists(home.path + "/.config/xqf"), !config.isNull());
}

QTEST_GUILESS_MAIN(TestXqfConfig)
#include "tst_xqfconfig.moc"
