#include "apppaths.h"
#include "bitmapexport.h"
#include "filecommands.h"
#include "fileerrortest.h"
#include "gamemodes.h"
#include "gamescript.h"
#include "installations/fakeinstalls.h"
#include "glyphsettings.h"
#include "keystore.h"
#include "modecontroller.h"
#include "namecomposer.h"
#include "namestripimage.h"
#include "scriptedprompts.h"
#include "testfiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <memory>

using Kind = ScriptedPrompts::Kind;

namespace {

const QString kRetry =
    QStringLiteral("ERROR - Glyphsmith encountered an error, Please retry this function again.");
const QString kNotConfigured =
    QStringLiteral("You have not configured Glyphsmith to utilize this feature.");
const QByteArray kTail = " // GLYPHSMITH v6.1";

} // namespace

using TestFiles::readBytes;
using TestFiles::writeBytes;

class TestFileCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void saveNameAsksForAConfigurationFile();
    void saveNameCancelledDoesNothing();
    void saveNameWritesAndConfirms();
    void saveNameTwiceKeepsBothLines();
    void saveNameFailureIsReportedOnce();

    void quickSave_data();
    void quickSave();
    void quickSaveNotConfigured_data();
    void quickSaveNotConfigured();
    void quickSaveIntoMissingFolder();

    void unsavableNamesAreRefused_data();
    void unsavableNamesAreRefused();

    void gameSpy_data();
    void gameSpy();
    void gameSpyRefusesAnswers_data();
    void gameSpyRefusesAnswers();
    void gameSpyKeepsDoubleExtensionAndNestedProfiles();
    void gameSpyIsAllOrNothing_data();
    void gameSpyIsAllOrNothing();

    void installedGames_data();
    void installedGames();

    void copyWidth_data();
    void copyWidth();
    void exportBitmapWritesTheStrip_data();
    void exportBitmapWritesTheStrip();
    void exportBitmapFailureShowsOnlyTheError();
    void exportBitmapCancelled();

private:
    void enterQuakeWorld();
    void addName(const QList<int> &cells);
    QString gameFolder() const { return m_game->path(); }

    std::unique_ptr<QTemporaryDir> m_program;
    std::unique_ptr<QTemporaryDir> m_config;
    std::unique_ptr<QTemporaryDir> m_game;
    std::unique_ptr<NameComposer> m_composer;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<ModeController> m_modes;
    std::unique_ptr<FileCommands> m_commands;
};

void TestFileCommands::init()
{
    m_program = std::make_unique<QTemporaryDir>();
    m_config = std::make_unique<QTemporaryDir>();
    m_game = std::make_unique<QTemporaryDir>();
    AppPaths::setProgramFolder(m_program->path());
    qputenv("XDG_CONFIG_HOME", m_config->path().toLocal8Bit());
    qputenv("WinDir", m_game->path().toLocal8Bit());

    m_composer = std::make_unique<NameComposer>();
    m_prompts = std::make_unique<ScriptedPrompts>();
    m_modes = std::make_unique<ModeController>(*m_composer, *m_prompts);
    m_commands = std::make_unique<FileCommands>(*m_composer, *m_modes, *m_prompts);
    m_composer->applyFiller(TableFiller::Quake3);
}

void TestFileCommands::cleanup()
{
    m_commands.reset();
    m_modes.reset();
    m_prompts.reset();
    m_composer.reset();
    AppPaths::setProgramFolder(QString());
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("WinDir");
}

// The mode controller loads the mode's picture from the program folder; any
// 256 x 256 picture will do.
void TestFileCommands::enterQuakeWorld()
{
    const QString picture =
        m_program->filePath(QLatin1String(GameModes::mode(ModeId::QuakeWorld).picture));
    QDir().mkpath(QFileInfo(picture).path());
    QVERIFY(TestFiles::somePicture().save(picture, "BMP"));
    QVERIFY(m_modes->enterMode(ModeId::QuakeWorld));
    QCOMPARE(m_modes->configKey(), QStringLiteral("q1config"));
    m_prompts->asked.clear();
}

void TestFileCommands::addName(const QList<int> &cells)
{
    const QImage picture = TestFiles::somePicture();
    for (int cell : cells)
        QCOMPARE(m_composer->clickCell(cell, picture), QString());
}

void TestFileCommands::saveNameAsksForAConfigurationFile()
{
    addName({65});
    m_commands->saveName();
    QCOMPARE(m_prompts->asked.size(), 1);
    const ScriptedPrompts::Asked &asked = m_prompts->asked.constFirst();
    QCOMPARE(asked.kind, Kind::SaveFile);
    QCOMPARE(asked.file.title, QStringLiteral("Save As..."));
    QCOMPARE(asked.file.filters, QStringList{QStringLiteral("Configuration File (*.Cfg)")});
    QCOMPARE(asked.file.defaultSuffix, QStringLiteral("cfg"));
    QCOMPARE(asked.file.startFolder, gameFolder());
}

void TestFileCommands::saveNameCancelledDoesNothing()
{
    addName({65});
    m_commands->saveName();
    QVERIFY(m_prompts->messages().isEmpty());
    QVERIFY(QDir(gameFolder()).isEmpty());
}

void TestFileCommands::saveNameWritesAndConfirms()
{
    const QString path = gameFolder() + QStringLiteral("/autoexec.cfg");
    addName({65});
    m_prompts->fileAnswers.push_back(path);
    m_commands->saveName();

    // Quake III lines carry the mode's marker and the save's tail.
    QCOMPARE(readBytes(path), "\r\nname \"^7A^7\" //GLYPHSMITH v6.1" + kTail + "\r\n");
    QCOMPARE(m_prompts->messages(),
             QStringList{QStringLiteral("File Saved!\rTo use this file go to the console and "
                                        "execute the file: autoexec.cfg")});
    QCOMPARE(m_prompts->asked.constLast().title, QStringLiteral("Glyphsmith"));
}

void TestFileCommands::saveNameTwiceKeepsBothLines()
{
    m_composer->applyFiller(TableFiller::Ascii);
    const QString path = gameFolder() + QStringLiteral("/names.cfg");
    addName({64});
    m_prompts->fileAnswers.push_back(path);
    m_commands->saveName();
    addName({65});
    m_prompts->fileAnswers.push_back(path);
    m_commands->saveName();

    QCOMPARE(readBytes(path), "\r\nA" + kTail + "\r\n\r\nAB" + kTail + "\r\n");
    QCOMPARE(m_prompts->messages().size(), 2);
}

void TestFileCommands::saveNameFailureIsReportedOnce()
{
    const QString path = gameFolder() + QStringLiteral("/a-folder.cfg");
    QVERIFY(QDir().mkdir(path));
    addName({65});
    m_prompts->fileAnswers.push_back(path);
    m_commands->saveName();

    const QStringList messages = m_prompts->messages();
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.constFirst().contains(path), qPrintable(messages.constFirst()));
    QVERIFY(!messages.constFirst().contains(QLatin1String("File Saved")));
    QVERIFY(QDir(path).isEmpty());
}

void TestFileCommands::quickSave_data()
{
    QTest::addColumn<bool>("quakeWorld");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("expected");  // previous content is "old\r\n" when it exists
    QTest::addColumn<QStringList>("messages"); // %1 stands for the file's path

    const QString hint =
        QStringLiteral("File saved to: %1\rYou will need to manually execute this script.");
    const QString saved = QStringLiteral("File Saved to Default Config: %1");
    QTest::newRow("Quake III, new file: tailed line, no message")
        << false << false << "q3config.cfg"
        << "\r\nname \"^7A^7\" //GLYPHSMITH v6.1" + kTail + "\r\n"
        << QStringList{};
    QTest::newRow("Quake III, existing file: plain line, saved message")
        << false << true << "q3config.cfg"
        << QByteArray("old\r\n\r\nname \"^7A^7\" //GLYPHSMITH v6.1\r\n") << QStringList{saved};
    QTest::newRow("QuakeWorld, new file: tailed line, hint only")
        << true << false << "config.cfg"
        << "\r\nname \"A\" //GLYPHSMITH v6.1" + kTail + "\r\n"
        << QStringList{hint};
    QTest::newRow("QuakeWorld, existing file: saved message, then the hint")
        << true << true << "config.cfg" << QByteArray("old\r\n\r\nname \"A\" //GLYPHSMITH v6.1\r\n")
        << QStringList{saved, hint};
}

void TestFileCommands::quickSave()
{
    QFETCH(bool, quakeWorld);
    QFETCH(bool, exists);
    QFETCH(QString, fileName);
    QFETCH(QByteArray, expected);
    QFETCH(QStringList, messages);

    if (quakeWorld)
        enterQuakeWorld();
    // The other family's folder is set too, so taking the wrong key shows.
    const QString other = m_config->filePath(QStringLiteral("other"));
    QVERIFY_OK(GlyphSettings::write(quakeWorld ? "q1config" : "q3config", gameFolder()));
    QVERIFY_OK(GlyphSettings::write(quakeWorld ? "q3config" : "q1config", other));
    const QString path = gameFolder() + QLatin1Char('/') + fileName;
    if (exists)
        QVERIFY(writeBytes(path, "old\r\n"));
    addName({65});

    m_commands->quickSave();
    QCOMPARE(readBytes(path), expected);
    QCOMPARE(m_commands->quickSavePath(), path);
    for (QString &m : messages)
        m = m.arg(path);
    QCOMPARE(m_prompts->messages(), messages);
    QVERIFY(!QFileInfo::exists(other));
}

void TestFileCommands::unsavableNamesAreRefused_data()
{
    QTest::addColumn<int>("command"); // 0 Save Name, 1 QuickSave, 2 Save Name in GameSpy
    QTest::addColumn<QList<int>>("cells");
    QTest::addColumn<QString>("message");
    const QString quote = QStringLiteral("Slot %1 holds a quote character, which would end the "
                                         "name in the game's script. Nothing was saved.");
    const QString lineFeed = QStringLiteral("Slot %1 holds a line feed, which would break the "
                                            "name's line in the game's script. Nothing was saved.");
    QTest::newRow("save name, a quote in slot 2") << 0 << QList<int>{65, 10, 66} << quote.arg(2);
    QTest::newRow("quicksave, a line feed in slot 1") << 1 << QList<int>{9, 65} << lineFeed.arg(1);
    QTest::newRow("gamespy, the other quote in slot 3")
        << 2 << QList<int>{65, 66, 162} << quote.arg(3);
    // `name ""` would blank the player's name in the game.
    const QString empty = QStringLiteral("The name is empty: all 25 slots are blank, and saving it "
                                         "would blank your name in the game. Nothing was saved.");
    QTest::newRow("save name, empty") << 0 << QList<int>{} << empty;
    QTest::newRow("quicksave, empty") << 1 << QList<int>{} << empty;
    QTest::newRow("gamespy, empty") << 2 << QList<int>{} << empty;
    QTest::newRow("quicksave, blanks only") << 1 << QList<int>{32, 32} << empty;
}

// The line `name "ab` + LF + `cd";quit" //...` would run ;quit every time the game
// reads the script, and `name ""` blanks the player's name: the command refuses
// before it asks or writes anything.
void TestFileCommands::unsavableNamesAreRefused()
{
    QFETCH(int, command);
    QFETCH(QList<int>, cells);
    QFETCH(QString, message);
    enterQuakeWorld();
    QVERIFY_OK(GlyphSettings::write("q1config", gameFolder()));
    const QString path = gameFolder() + QStringLiteral("/config.cfg");
    QVERIFY(writeBytes(path, "bind q quit\r\n"));
    addName(cells);
    m_prompts->fileAnswers.push_back(path);
    m_prompts->inputAnswers = {QStringLiteral("Clan"), QStringLiteral("me")};

    if (command == 0)
        m_commands->saveName();
    else if (command == 1)
        m_commands->quickSave();
    else
        m_commands->saveInGameSpy();
    QCOMPARE(m_prompts->messages(), QStringList{message});
    QCOMPARE(m_prompts->asked.size(), 1);
    QCOMPARE(readBytes(path), QByteArray("bind q quit\r\n"));
    QCOMPARE(QDir(gameFolder()).entryList(QDir::Files), QStringList{"config.cfg"});
}

void TestFileCommands::quickSaveNotConfigured_data()
{
    QTest::addColumn<bool>("quakeWorld");
    QTest::newRow("Quake III") << false;
    QTest::newRow("QuakeWorld") << true;
}

void TestFileCommands::quickSaveNotConfigured()
{
    QFETCH(bool, quakeWorld);
    if (quakeWorld)
        enterQuakeWorld();
    QVERIFY_OK(GlyphSettings::write(quakeWorld ? "q1config" : "q3config", QString()));
    addName({65});
    m_commands->quickSave();
    QCOMPARE(m_prompts->messages(), QStringList{kNotConfigured});
    QVERIFY(m_commands->quickSavePath().isEmpty());
}

void TestFileCommands::quickSaveIntoMissingFolder()
{
    enterQuakeWorld();
    const QString folder = gameFolder() + QStringLiteral("/not-there");
    QVERIFY_OK(GlyphSettings::write("q1config", folder));
    addName({65});
    m_commands->quickSave();

    const QStringList messages = m_prompts->messages();
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.constFirst().contains(folder + QStringLiteral("/config.cfg")),
             qPrintable(messages.constFirst()));
    QVERIFY(!messages.constFirst().startsWith(QLatin1String("File saved to: ")));
    QVERIFY(QDir(gameFolder()).isEmpty());
}

void TestFileCommands::gameSpy_data()
{
    QTest::addColumn<bool>("quakeWorld");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QStringList>("messages"); // %1 stands for the file's path

    const QString stored = QStringLiteral("Name saved to GameSpy!");
    const QString saved = QStringLiteral("File Saved to Default Config: %1");
    QTest::newRow("Quake III, new file") << false << false << QStringList{stored};
    QTest::newRow("Quake III, existing file: confirmation first")
        << false << true << QStringList{stored, saved};
    QTest::newRow("QuakeWorld, new file") << true << false << QStringList{stored};
    QTest::newRow("QuakeWorld, existing file: file first")
        << true << true << QStringList{saved, stored};
}

void TestFileCommands::gameSpy()
{
    QFETCH(bool, quakeWorld);
    QFETCH(bool, exists);
    QFETCH(QStringList, messages);

    if (quakeWorld)
        enterQuakeWorld();
    QVERIFY_OK(GlyphSettings::write(quakeWorld ? "q1config" : "q3config", gameFolder()));
    const QString path = gameFolder() + QStringLiteral("/GLYPH-me.cfg");
    if (exists)
        QVERIFY(writeBytes(path, "old\r\n"));
    addName({65});
    m_prompts->inputAnswers = {QStringLiteral("Clan"), QStringLiteral("me")};

    m_commands->saveInGameSpy();

    QCOMPARE(m_prompts->asked.size(), 2 + messages.size());
    QCOMPARE(m_prompts->asked.at(0).text,
             QStringLiteral(
                 "Choose a name to store your funname in under the Profiles menu in GameSpy."));
    QCOMPARE(m_prompts->asked.at(0).title, QStringLiteral("Profile:"));
    QCOMPARE(
        m_prompts->asked.at(1).text,
        QStringLiteral("Choose an external file to store your name in (Don't include the .cfg)"));
    QCOMPARE(m_prompts->asked.at(1).title, QStringLiteral("File:"));
    for (QString &m : messages)
        m = m.arg(path);
    QCOMPARE(m_prompts->messages(), messages);

    const QString key = QStringLiteral("Software\\GameSpy\\GameSpy 3D\\Profiles\\Clan\\") +
                        (quakeWorld ? QStringLiteral("QuakeWorld") : QStringLiteral("Quake3"));
    const auto value = KeyStore::userStore().readValue(KeyStore::Root::CurrentUser, key,
                                                       QStringLiteral("Custom CFG"));
    QVERIFY(value.has_value());
    QCOMPARE(value->type, KeyStore::Value::Type::String);
    QCOMPARE(value->bytes, QByteArray("GLYPH-me.cfg"));

    const QByteArray line =
        quakeWorld ? "name \"A\" //GLYPHSMITH v6.1" : "name \"^7A^7\" //GLYPHSMITH v6.1";
    QCOMPARE(readBytes(path),
             exists ? "old\r\n\r\n" + line + "\r\n" : "\r\n" + line + kTail + "\r\n");
    QCOMPARE(m_commands->quickSavePath(), path);
}

void TestFileCommands::gameSpyRefusesAnswers_data()
{
    QTest::addColumn<std::optional<QString>>("profile");
    QTest::addColumn<std::optional<QString>>("file");
    QTest::addColumn<int>("questions");

    const std::optional<QString> none;
    const auto text = [](const char *s) { return std::optional<QString>(QString::fromUtf8(s)); };
    QTest::newRow("first prompt cancelled: nothing more asked") << none << text("me") << 1;
    QTest::newRow("empty profile name") << text("") << text("me") << 1;
    QTest::newRow("second prompt cancelled") << text("Clan") << none << 2;
    QTest::newRow("empty file answer") << text("Clan") << text("") << 2;
    QTest::newRow("file answer leaves the folder") << text("Clan") << text("../me") << 2;
    for (const char *bad : {"a\\b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b", "a\tb"}) {
        const QByteArray name = QByteArray("file answer holding ") + bad;
        QTest::newRow(name.constData()) << text("Clan") << text(bad) << 2;
    }
    QTest::newRow("file answer outside the code page") << text("Clan") << text("me\u4e2d") << 2;
    // No file system holds a name of 310 bytes: refused before anything is written.
    QTest::newRow("file answer too long for a file name")
        << text("Clan") << std::optional<QString>(QString(300, QLatin1Char('x'))) << 2;
}

void TestFileCommands::gameSpyRefusesAnswers()
{
    QFETCH(std::optional<QString>, profile);
    QFETCH(std::optional<QString>, file);
    QFETCH(int, questions);

    QVERIFY_OK(GlyphSettings::write("q3config", gameFolder()));
    addName({65});
    m_prompts->inputAnswers = {profile, file};
    m_commands->saveInGameSpy();

    QCOMPARE(m_prompts->asked.size(), questions + 1);
    QCOMPARE(m_prompts->messages(), QStringList{kRetry});
    QVERIFY(QDir(gameFolder()).isEmpty());
    QVERIFY(!KeyStore::userStore().keyExists(KeyStore::Root::CurrentUser,
                                             QStringLiteral("Software\\GameSpy")));
}

void TestFileCommands::gameSpyKeepsDoubleExtensionAndNestedProfiles()
{
    QVERIFY_OK(GlyphSettings::write("q3config", gameFolder()));
    addName({65});
    m_prompts->inputAnswers = {QStringLiteral("Clan\\Sub"), QStringLiteral("me.cfg")};
    m_commands->saveInGameSpy();

    QVERIFY(QFileInfo::exists(gameFolder() + QStringLiteral("/GLYPH-me.cfg.cfg")));
    const KeyStore store = KeyStore::userStore();
    QVERIFY(store.keyExists(KeyStore::Root::CurrentUser,
                            QStringLiteral("Software\\GameSpy\\GameSpy 3D\\Profiles\\Clan")));
    const auto value = store.readValue(
        KeyStore::Root::CurrentUser,
        QStringLiteral("Software\\GameSpy\\GameSpy 3D\\Profiles\\Clan\\Sub\\Quake3"),
        QStringLiteral("Custom CFG"));
    QVERIFY(value.has_value());
    QCOMPARE(value->bytes, QByteArray("GLYPH-me.cfg.cfg"));
}

void TestFileCommands::gameSpyIsAllOrNothing_data()
{
    QTest::addColumn<bool>("quakeWorld");
    QTest::addColumn<bool>("breakProfile"); // else the script cannot be written
    QTest::addColumn<QString>("message");   // how the one message starts

    const QString profile = QStringLiteral("The GameSpy profile could not be stored:\r");
    const QString script = QStringLiteral("Could not save to ");
    // Quake III stores the profile first, QuakeWorld writes the script first.
    QTest::newRow("Quake III, profile fails first") << false << true << profile;
    QTest::newRow("Quake III, script fails second: profile taken back") << false << false << script;
    QTest::newRow("QuakeWorld, script fails first") << true << false << script;
    QTest::newRow("QuakeWorld, profile fails second: script taken back") << true << true << profile;
}

void TestFileCommands::gameSpyIsAllOrNothing()
{
    QFETCH(bool, quakeWorld);
    QFETCH(bool, breakProfile);
    QFETCH(QString, message);

    if (quakeWorld)
        enterQuakeWorld();
    QVERIFY_OK(GlyphSettings::write(quakeWorld ? "q1config" : "q3config", gameFolder()));
    const QString store = AppPaths::keyStoreFile();
    QVERIFY(QDir().mkpath(QFileInfo(store).path()));
    // A UTF-16 export is refused as it is; otherwise the store holds another profile.
    QVERIFY(writeBytes(store, breakProfile ? QByteArray("\xFF\xFER\0E\0", 6)
                                           : QByteArray("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\"
                                                        "Software\\GameSpy]\r\n\"a\"=\"b\"\r\n")));
    const QByteArray storeBefore = readBytes(store);
    const QString script = gameFolder() + QStringLiteral("/GLYPH-me.cfg");
    if (breakProfile)
        QVERIFY(writeBytes(script, "old\r\n"));
    else
        QVERIFY(QDir().mkdir(script)); // a folder where the script should be
    const QStringList before = QDir(gameFolder()).entryList(QDir::AllEntries | QDir::Hidden);
    addName({65});
    m_prompts->inputAnswers = {QStringLiteral("Clan"), QStringLiteral("me")};

    m_commands->saveInGameSpy();

    const QStringList messages = m_prompts->messages();
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.constFirst().startsWith(message), qPrintable(messages.constFirst()));
    // Taken back where the other write had already happened, and said so.
    const bool second = breakProfile == quakeWorld;
    QCOMPARE(messages.constFirst().endsWith(QLatin1String("\rNothing was saved.")), second);
    QCOMPARE(readBytes(store), storeBefore);
    if (breakProfile)
        QCOMPARE(readBytes(script), QByteArray("old\r\n"));
    QCOMPARE(QDir(gameFolder()).entryList(QDir::AllEntries | QDir::Hidden), before);
    QCOMPARE(QDir(QFileInfo(store).path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("registry.reg")});
}

// The commands that write into a game, with the configured folder matched to the
// installed client it belongs to: the name goes where the client reads it, and
// never into its data.
void TestFileCommands::installedGames_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("files"); // made before, "~/x" in the fake home, "/x" below its root
    QTest::addColumn<QString>("configured");
    QTest::addColumn<QString>("written"); // the file the name goes into, or empty for none
    QTest::addColumn<QByteArray>("bytes"); // that file's bytes after
    QTest::addColumn<QStringList>("messages"); // %1: the written file, %2: the configured folder

    const QStringList openArena = {"~/.openarena/baseoa/q3config.cfg",
                                   "/usr/lib/openarena/baseoa/pak0.pk3"};
    const QString oaConfig = "~/.openarena/baseoa/q3config.cfg";
    QTest::newRow("quicksave, OpenArena by its data folder: the home config, and close the game")
        << "quicksave" << openArena << "/usr/lib/openarena/baseoa" << oaConfig
        << QByteArray("\r\nname \"^7A^7\" //GLYPHSMITH v6.1\r\n")
        << QStringList{"File Saved to Default Config: %1\rOpenArena rewrites this file while it "
                       "runs: close the game before you save, or the name is lost at its next "
                       "write."};
    QTest::newRow("quicksave, OpenArena by its home folder")
        << "quicksave" << openArena << "~/.openarena/baseoa" << oaConfig
        << QByteArray("\r\nname \"^7A^7\" //GLYPHSMITH v6.1\r\n")
        << QStringList{"File Saved to Default Config: %1\rOpenArena rewrites this file while it "
                       "runs: close the game before you save, or the name is lost at its next "
                       "write."};
    // A Quake II client's folder in the Quake III field is no Quake III installation.
    QTest::newRow("quicksave, a Quake II home typed as Quake III's: the folder as it is")
        << "quicksave"
        << QStringList{"~/.yq2/baseq2/config.cfg", "~/.yq2/baseq2/q3config.cfg"}
        << "~/.yq2/baseq2" << "~/.yq2/baseq2/q3config.cfg"
        << QByteArray("\r\nname \"^7A^7\" //GLYPHSMITH v6.1\r\n")
        << QStringList{"File Saved to Default Config: %1"};
    // Steam's Quake is data only: whichever client plays it keeps the config elsewhere.
    const QString noHome = "%2 is the game data of Quake (Steam), which keeps the player's "
                           "config in a folder Glyphsmith does not know. Nothing was saved: "
                           "configure the folder Quake (Steam) writes its config in.";
    const QStringList steam = {"~/.local/share/Steam/steamapps/common/Quake/id1/pak0.pak",
                               "~/.local/share/Steam/steamapps/libraryfolders.vdf"};
    QTest::newRow("quicksave, a data folder of a client without a known home: nothing written")
        << "quicksave" << steam << "~/.local/share/Steam/steamapps/common/Quake/id1" << QString()
        << QByteArray() << QStringList{noHome};
    QTest::newRow("save in game, a data folder without a known home: nothing written")
        << "saveingame" << steam << "~/.local/share/Steam/steamapps/common/Quake/id1" << QString()
        << QByteArray() << QStringList{noHome};
    QTest::newRow("save in game, OpenArena: its own script, run from the player's autoexec.cfg")
        << "saveingame" << (openArena + QStringList{"~/.openarena/baseoa/autoexec.cfg"})
        << "/usr/lib/openarena/baseoa" << "~/.openarena/baseoa/glyphsmith.cfg"
        << GameScript::scriptBytes("seta name \"^7A^7\"")
        << QStringList{"Your name is saved in %1, and " + QStringLiteral("%3") +
                       " runs it at every start. One line was added to it to run the script.\r"
                       "OpenArena takes the name when it next starts; to take it now, type\r"
                       "exec glyphsmith.cfg\rin the game's console.\rUndo Save Name in Game "
                       "takes the line out of autoexec.cfg again."};
    QTest::newRow("save in game, OpenArena never started: nothing written")
        << "saveingame" << QStringList{"/usr/lib/openarena/baseoa/pak0.pk3"}
        << "/usr/lib/openarena/baseoa" << QString() << QByteArray()
        << QStringList{"OpenArena has not made its folder %3 yet: start the game once, then "
                       "save again. Nothing was saved."};
    QTest::newRow("xqf, OpenArena: the script in baseoa, XQF's section for it")
        << "saveinxqf" << openArena << "/usr/lib/openarena/baseoa"
        << "~/.openarena/baseoa/glyphsmith.cfg" << GameScript::scriptBytes("seta name \"^7A^7\"")
        << QStringList{"Your name is saved in %1, and XQF's Custom CFG for OPENARENAS is now "
                       "glyphsmith.cfg (in %4). XQF does not list that folder's configs, but "
                       "passes the name to the game all the same.\rXQF runs it after its own "
                       "player name each time it starts the game, so this name is the one the "
                       "game takes."};
}

void TestFileCommands::installedGames()
{
    QFETCH(QString, command);
    QFETCH(QStringList, files);
    QFETCH(QString, configured);
    QFETCH(QString, written);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, messages);

    FakeInstalls fake;
    for (const QString &f : std::as_const(files)) {
        QVERIFY(fake.file(f, f.endsWith(".vdf")
                                 ? fake.libraryFolders({"~/.local/share/Steam"})
                                 : QByteArray()));
    }
    QVERIFY(fake.folder("/usr/lib/openarena/baseoa"));
    m_commands->setInstallPlaces(fake.places());
    const bool quake = configured.endsWith("/id1");
    if (quake)
        enterQuakeWorld();
    QVERIFY_OK(GlyphSettings::write(quake ? "q1config" : "q3config", fake.at(configured)));
    const auto before = [&] {
        QStringList all;
        QDirIterator it(fake.at("/"), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            all << path + u'=' + QString::fromLatin1(readBytes(path).toHex());
        }
        return all;
    };
    const QStringList systemBefore = before();
    addName({65});

    if (command == "quicksave")
        m_commands->quickSave();
    else if (command == "saveingame")
        m_commands->saveInGame();
    else
        m_commands->saveInXqf();

    for (QString &m : messages) {
        m = m.replace("%1", fake.at(written))
                .replace("%2", fake.at(configured))
                .replace("%3", fake.at("~/.openarena/baseoa") +
                                   (m.contains("runs it") ? "/autoexec.cfg" : ""))
                .replace("%4", fake.at("~/.config/xqf/config"));
    }
    QCOMPARE(m_prompts->messages(), messages);
    if (!written.isEmpty())
        QCOMPARE(readBytes(fake.at(written)), bytes);
    else
        QVERIFY(!QFileInfo::exists(fake.at("~/.openarena/baseoa/glyphsmith.cfg")));
    // Nothing below the system folders is ever written.
    QCOMPARE(before(), systemBefore);
    if (command == "saveingame" && !written.isEmpty()) {
        QCOMPARE(readBytes(fake.at("~/.openarena/baseoa/autoexec.cfg")),
                 QByteArray("exec glyphsmith.cfg // added by Glyphsmith\n"));
        m_prompts->asked.clear();
        m_commands->undoSaveInGame();
        QCOMPARE(readBytes(fake.at("~/.openarena/baseoa/autoexec.cfg")), QByteArray());
    }
}

void TestFileCommands::copyWidth_data()
{
    QTest::addColumn<int>("namePos");
    QTest::addColumn<int>("width");
    QTest::newRow("empty name") << 1 << 15;
    QTest::newRow("one character") << 2 << 31;
    QTest::newRow("45.9 rounds up") << 3 << 46;
    QTest::newRow("three characters") << 4 << 61;
    QTest::newRow("76.5: half to even, down") << 5 << 76;
    QTest::newRow("229.5: half to even, up") << 15 << 230;
    QTest::newRow("382.5: half to even, down") << 25 << 382;
    QTest::newRow("after the 25th character") << 26 << 398;
    QTest::newRow("below range clamps") << 0 << 15;
    QTest::newRow("above range clamps") << 40 << 398;
}

void TestFileCommands::copyWidth()
{
    QFETCH(int, namePos);
    QFETCH(int, width);
    QCOMPARE(BitmapExport::copyWidth(namePos), width);
}

void TestFileCommands::exportBitmapWritesTheStrip_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<int>("scale");
    QTest::newRow("bitmap, as designed") << 0 << "name.bmp" << QByteArray("BMP") << 1;
    QTest::newRow("bitmap at four times") << 2 << "name.bmp" << QByteArray("BMP") << 4;
    QTest::newRow("png at twice the size") << 4 << "name.png" << QByteArray("PNG") << 2;
    QTest::newRow("a typed suffix names the format") << 0 << "name.PNG" << QByteArray("PNG") << 1;
}

void TestFileCommands::exportBitmapWritesTheStrip()
{
    QFETCH(int, filter);
    QFETCH(QString, file);
    QFETCH(QByteArray, format);
    QFETCH(int, scale);
    addName({65, 66, 67, 106}); // j: its tail lies in the glyph's last rows
    QCOMPARE(m_composer->namePos(), 5);
    const QString path = gameFolder() + QLatin1Char('/') + file;
    m_prompts->fileAnswers.push_back(path);
    m_prompts->filterAnswers.push_back(filter);
    m_commands->exportBitmap();

    const ScriptedPrompts::Asked &asked = m_prompts->asked.constFirst();
    QCOMPARE(asked.file.title, QStringLiteral("Export Bitmap..."));
    QCOMPARE(asked.file.filters.constFirst(), QStringLiteral("Bitmaps (*.Bmp)"));
    QCOMPARE(asked.file.defaultSuffix, QStringLiteral("bmp"));
    QCOMPARE(asked.file.startFolder, gameFolder());
    QCOMPARE(m_prompts->messages(), QStringList{QStringLiteral("Exported bitmap to: ") + path});

    const QByteArray bytes = readBytes(path);
    if (format == "BMP")
        QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(24));
    else
        QVERIFY(bytes.startsWith("\x89PNG"));

    const QImage strip = NameStripImage::render(*m_composer);
    QImage saved;
    QVERIFY(saved.load(path, format.constData()));
    QCOMPARE(saved.size(), QSize(433, 25) * scale);
    bool anyLit = false;
    for (int y = 0; y < saved.height(); ++y) {
        for (int x = 0; x < saved.width(); ++x) {
            const int sx = x / scale, sy = y / scale;
            // The whole 16 rows of the glyphs, 76 pixels for four characters.
            const QRgb expected = (sx < 76 && sy < 16) ? strip.pixel(sx, sy) : qRgb(0, 0, 0);
            if (qRgb(qRed(saved.pixel(x, y)), qGreen(saved.pixel(x, y)),
                     qBlue(saved.pixel(x, y))) !=
                qRgb(qRed(expected), qGreen(expected), qBlue(expected)))
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 differs").arg(x).arg(y)));
            anyLit = anyLit || (sy >= 14 && qGray(expected) != 0);
        }
    }
    QVERIFY2(anyLit, "the glyphs' last rows should show in the copied region");
}

void TestFileCommands::exportBitmapFailureShowsOnlyTheError()
{
    const QString path = gameFolder() + QStringLiteral("/missing/name.bmp");
    m_prompts->fileAnswers.push_back(path);
    m_commands->exportBitmap();

    const QList<ScriptedPrompts::Asked> &asked = m_prompts->asked;
    QCOMPARE(asked.size(), 2);
    QCOMPARE(asked.at(1).kind, Kind::Message);
    QCOMPARE(asked.at(1).title, QStringLiteral("mnuFileSaveAsDialog_Click"));
    const QString text = asked.at(1).text;
    QVERIFY2(text.startsWith(QStringLiteral("Error: %1 ").arg(int(QFileDevice::OpenError))),
             qPrintable(text));
    QVERIFY(text.size() > 10);
    QVERIFY(QDir(gameFolder()).isEmpty());
}

void TestFileCommands::exportBitmapCancelled()
{
    m_commands->exportBitmap();
    QCOMPARE(m_prompts->asked.size(), 1);
    QVERIFY(QDir(gameFolder()).isEmpty());
}

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
