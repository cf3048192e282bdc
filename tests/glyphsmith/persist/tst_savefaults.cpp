// SPDX-License-Identifier: GPL-3.0-or-later
// Every command that writes a file, run while the disk fails at each step of the
// write in turn: the files stay byte for byte as they were, and the command says
// so; it never reports success. The failures come from FaultShim (a full disk, a
// failing disk, a write cut short) and from a real file-size limit.
#include "apppaths.h"
#include "configureform.h"
#include "faultshim.h"
#include "filecommands.h"
#include "gamemodes.h"
#include "modecontroller.h"
#include "namecomposer.h"
#include "scriptedprompts.h"
#include "testfiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>
#include <sys/resource.h>

using Fault = FaultShim::Fault;
using TestFiles::readBytes;
using TestFiles::writeBytes;

namespace {

enum class Command { Configure, QuickSave, SaveName, GameSpyQuake3, GameSpyQuakeWorld, Export };

const QList<std::pair<Command, const char *>> kCommands = {
    {Command::Configure, "Configure"},
    {Command::QuickSave, "QuickSave"},
    {Command::SaveName, "Save Name"},
    {Command::GameSpyQuake3, "GameSpy, Quake III (profile first)"},
    {Command::GameSpyQuakeWorld, "GameSpy, QuakeWorld (script first)"},
    {Command::Export, "Export Bitmap"},
};

// What the user reads when a command did what it should.
const QStringList kSuccess = {QStringLiteral("File Saved"), QStringLiteral("File saved to"),
                              QStringLiteral("Name saved to GameSpy!"),
                              QStringLiteral("Exported bitmap to")};

// Relative path -> bytes, of every file below a folder; the folder's own path in
// the files reads "<root>", so that two worlds compare.
using Snapshot = QMap<QString, QByteArray>;

Snapshot snapshot(const QString &root)
{
    Snapshot files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(root).relativeFilePath(path),
                     readBytes(path).replace(root.toUtf8(), "<root>"));
    }
    return files;
}

// The program folder, the user's configuration and a game folder below one
// temporary folder, with a file already in place at every path a command writes.
class World
{
public:
    World()
    {
        m_root = QFileInfo(m_dir.path()).canonicalFilePath();
        for (const char *folder : {"program", "config/glyphsmith", "game"})
            QDir().mkpath(m_root + QLatin1Char('/') + QLatin1String(folder));
        AppPaths::setProgramFolder(path("program"));
        qputenv("XDG_CONFIG_HOME", path("config").toLocal8Bit());
        qputenv("WinDir", path("game").toLocal8Bit());

        const QByteArray game = path("game").toUtf8();
        put("program/glyph.ini",
            "[Glyphsmith]\r\nfirst=no\r\nq3config=" + game + "\r\nq1config=" + game + "\r\n");
        put("config/glyphsmith/registry.reg",
            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\GameSpy\\GameSpy 3D\\Profiles\\Clan\\"
            "Quake3]\r\n\"Custom CFG\"=\"GLYPH-old.cfg\"\r\n");
        for (const char *script : {"q3config.cfg", "GLYPH-me.cfg", "autoexec.cfg"})
            put(QByteArray("game/") + script, "seta old 1\r\n");
        put("game/name.bmp", "an old picture");
        const QString picture =
            path("program/") + QLatin1String(GameModes::mode(ModeId::QuakeWorld).picture);
        QDir().mkpath(QFileInfo(picture).path());
        TestFiles::somePicture().save(picture, "BMP");

        m_composer.applyFiller(TableFiller::Quake3);
        m_modes = std::make_unique<ModeController>(m_composer, m_prompts);
        m_commands = std::make_unique<FileCommands>(m_composer, *m_modes, m_prompts);
    }
    ~World()
    {
        AppPaths::setProgramFolder(QString());
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("WinDir");
    }

    QString root() const { return m_root; }
    QString path(const char *relative) const
    {
        return m_root + QLatin1Char('/') + QLatin1String(relative);
    }

    // Runs the command; returns what it told the user, and whether it succeeded.
    std::pair<QStringList, bool> run(Command command)
    {
        if (command == Command::GameSpyQuakeWorld && !m_modes->enterMode(ModeId::QuakeWorld))
            qFatal("setup failed: QuakeWorld mode");
        // A name to save: an empty one is refused before anything is written.
        m_composer.clickCell(65, TestFiles::somePicture());
        m_prompts.asked.clear();
        switch (command) {
        case Command::Configure: {
            ConfigureForm form;
            form.load();
            form.setText(ConfigureForm::Field::QuakeFolder, QStringLiteral("/new/id1"));
            const FileError saved = form.save();
            return {saved.ok() ? QStringList() : QStringList{saved.text()}, saved.ok()};
        }
        case Command::QuickSave:
            m_commands->quickSave();
            break;
        case Command::SaveName:
            m_prompts.fileAnswers.push_back(path("game/autoexec.cfg"));
            m_commands->saveName();
            break;
        case Command::GameSpyQuake3:
        case Command::GameSpyQuakeWorld:
            m_prompts.inputAnswers = {QStringLiteral("Clan"), QStringLiteral("me")};
            m_commands->saveInGameSpy();
            break;
        case Command::Export:
            m_prompts.fileAnswers.push_back(path("game/name.bmp"));
            m_commands->exportBitmap();
            break;
        }
        QStringList messages = m_prompts.messages();
        messages.replaceInStrings(m_root, QStringLiteral("<root>"));
        bool succeeded = !messages.isEmpty();
        for (const QString &m : messages) {
            if (std::none_of(kSuccess.begin(), kSuccess.end(),
                             [&m](const QString &s) { return m.startsWith(s); }))
                succeeded = false;
        }
        return {messages, succeeded};
    }

private:
    void put(const QByteArray &relative, const QByteArray &bytes)
    {
        if (!writeBytes(path(relative.constData()), bytes))
            qFatal("setup failed: %s", relative.constData());
    }

    QTemporaryDir m_dir;
    QString m_root;
    NameComposer m_composer;
    ScriptedPrompts m_prompts;
    std::unique_ptr<ModeController> m_modes;
    std::unique_ptr<FileCommands> m_commands;
};

// A fault-free run: the calls it makes, what it leaves, what it says.
struct Reference
{
    QStringList calls;
    Snapshot after;
    QStringList messages;
    qint64 largestWrite = 0; // the largest file it writes
};

Reference reference(Command command)
{
    World world;
    const Snapshot before = snapshot(world.root());
    FaultShim::arm(world.root().toUtf8(), {}, Fault::IoError);
    Reference r;
    r.messages = world.run(command).first;
    r.calls = FaultShim::disarm();
    r.after = snapshot(world.root());
    for (auto it = r.after.cbegin(); it != r.after.cend(); ++it) {
        if (before.value(it.key()) != it.value())
            r.largestWrite = std::max<qint64>(r.largestWrite, it.value().size());
    }
    return r;
}

const char *faultName(Fault fault)
{
    switch (fault) {
    case Fault::NoSpace:
        return "disk full";
    case Fault::IoError:
        return "I/O error";
    case Fault::ShortThenFull:
        return "short write, then disk full";
    case Fault::Partial:
        return "short write, then the rest";
    }
    return "";
}

} // namespace

Q_DECLARE_METATYPE(Command)
Q_DECLARE_METATYPE(Fault)

class TestSaveFaults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void failingDisk_data();
    void failingDisk();
    void fileSizeLimit_data();
    void fileSizeLimit();
    void gameSpyTellsWhatWasLeft_data();
    void gameSpyTellsWhatWasLeft();

private:
    void checkUntouched(World &world, const Snapshot &before,
                        const std::pair<QStringList, bool> &outcome);

    int m_tried = 0;
    int m_survived = 0;
};

void TestSaveFaults::initTestCase()
{
    // Past RLIMIT_FSIZE a write then fails with EFBIG instead of killing us.
    std::signal(SIGXFSZ, SIG_IGN);
}

void TestSaveFaults::cleanupTestCase()
{
    qInfo("%d injected failures, %d survived", m_tried, m_survived);
}

void TestSaveFaults::checkUntouched(World &world, const Snapshot &before,
                                    const std::pair<QStringList, bool> &outcome)
{
    ++m_tried;
    const auto &[messages, succeeded] = outcome;
    QVERIFY2(!succeeded, qPrintable(messages.join(QLatin1String(" | "))));
    // One message, the error; Configure returns it.
    QCOMPARE(messages.size(), 1);
    const Snapshot after = snapshot(world.root());
    QCOMPARE(after.keys(), before.keys()); // no temporary, lock or copy left behind
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
    ++m_survived;
}

void TestSaveFaults::failingDisk_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<int>("call");
    QTest::addColumn<Fault>("fault");
    for (const auto &[command, name] : kCommands) {
        const Reference ref = reference(command);
        if (ref.calls.isEmpty())
            qFatal("%s wrote nothing", name);
        for (int call = 1; call <= ref.calls.size(); ++call) {
            const QString &what = ref.calls.at(call - 1);
            QList<Fault> faults = {Fault::IoError};
            if (what == QLatin1String("write"))
                faults = {Fault::NoSpace, Fault::IoError, Fault::ShortThenFull, Fault::Partial};
            else if (what == QLatin1String("fsync"))
                faults = {Fault::NoSpace, Fault::IoError};
            for (Fault fault : faults)
                QTest::addRow("%s, call %d (%s): %s", name, call, qPrintable(what),
                              faultName(fault))
                    << command << call << fault;
        }
    }
}

void TestSaveFaults::failingDisk()
{
    QFETCH(Command, command);
    QFETCH(int, call);
    QFETCH(Fault, fault);

    const Reference ref = reference(command);
    World world;
    const Snapshot before = snapshot(world.root());
    FaultShim::arm(world.root().toUtf8(), {call}, fault);
    const auto outcome = world.run(command);
    FaultShim::disarm();

    if (fault == Fault::Partial) {
        // A short write is no failure: the rest follows, and the save is whole.
        QCOMPARE(outcome.first, ref.messages);
        const Snapshot after = snapshot(world.root());
        QCOMPARE(after.keys(), ref.after.keys());
        for (auto it = after.cbegin(); it != after.cend(); ++it)
            QCOMPARE(it.value(), ref.after.value(it.key()));
        return;
    }
    checkUntouched(world, before, outcome);
}

void TestSaveFaults::fileSizeLimit_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<qint64>("limit");
    for (const auto &[command, name] : kCommands) {
        const qint64 largest = reference(command).largestWrite;
        for (const qint64 limit : {qint64(0), qint64(1), largest / 2, largest - 1})
            QTest::addRow("%s, files up to %lld bytes", name, limit) << command << limit;
    }
}

// EFBIG from the kernel, through whatever write reaches the limit first.
void TestSaveFaults::fileSizeLimit()
{
    QFETCH(Command, command);
    QFETCH(qint64, limit);

    World world;
    const Snapshot before = snapshot(world.root());
    rlimit saved = {};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit lowered = saved;
    lowered.rlim_cur = rlim_t(limit);
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &lowered), 0);
    const auto outcome = world.run(command);
    ::setrlimit(RLIMIT_FSIZE, &saved);

    checkUntouched(world, before, outcome);
}

void TestSaveFaults::gameSpyTellsWhatWasLeft_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<QString>("left");
    QTest::newRow("profile stored, script fails, profile cannot be set back")
        << Command::GameSpyQuake3 << "The GameSpy profile Clan now names GLYPH-me.cfg all the same";
    QTest::newRow("script written, profile fails, script cannot be set back")
        << Command::GameSpyQuakeWorld << "The name was added to %1 all the same";
}

// When even taking the first write back fails, the message says what is left.
void TestSaveFaults::gameSpyTellsWhatWasLeft()
{
    QFETCH(Command, command);
    QFETCH(QString, left);

    // The second write fails at its first call; the first rename after that is
    // the one that would put the first file's previous version back.
    const int second = int(reference(command).calls.indexOf(QStringLiteral("rename"))) + 2;
    const QStringList failed = [&] {
        World world;
        FaultShim::arm(world.root().toUtf8(), {second}, Fault::IoError);
        world.run(command);
        return FaultShim::disarm();
    }();
    const int revert = int(failed.indexOf(QStringLiteral("rename"), second)) + 1;
    QVERIFY(revert > second);

    World world;
    FaultShim::arm(world.root().toUtf8(), {second, revert}, Fault::IoError);
    const auto [messages, succeeded] = world.run(command);
    FaultShim::disarm();
    QVERIFY(!succeeded);
    QCOMPARE(messages.size(), 1);
    const QString expected =
        QString(left).replace(QLatin1String("%1"), QLatin1String("<root>/game/GLYPH-me.cfg"));
    QVERIFY2(messages.constFirst().contains(expected), qPrintable(messages.constFirst()));
}

QTEST_MAIN(TestSaveFaults)
#include "tst_savefaults.moc"
