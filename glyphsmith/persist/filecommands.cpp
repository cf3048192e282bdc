#include "filecommands.h"

#include "apppaths.h"
#include "atomicfile.h"
#include "bitmapexport.h"
#include "cp1252.h"
#include "gamescript.h"
#include "glyphsettings.h"
#include "installfinder.h"
#include "keystore.h"
#include "modecontroller.h"
#include "namecheck.h"
#include "namecomposer.h"
#include "namestripimage.h"
#include "prompts.h"
#include "scriptwriter.h"
#include "xqfconfig.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <utility>

namespace {

const QString kTitle = QStringLiteral("Glyphsmith");
const QString kRetry =
    QStringLiteral("ERROR - Glyphsmith encountered an error, Please retry this function again.");
const QString kNotConfigured =
    QStringLiteral("You have not configured Glyphsmith to utilize this feature.");
const QString kProfilesKey = QStringLiteral("Software\\GameSpy\\GameSpy 3D\\Profiles\\");
const QString kProfileValue = QStringLiteral("Custom CFG");
constexpr qsizetype kNameMax = 255; // bytes in one file name

// The answer becomes part of a file name in the game folder: anything that would
// lead elsewhere, or that a file system or the code page cannot hold, is refused.
bool isPlainFileName(const QString &name)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    for (QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || forbidden.contains(c))
            return false;
    }
    bool lossless = false;
    Cp1252::fromUnicode(name, &lossless);
    return lossless;
}

// The save dialog both commands show, starting where file dialogs start.
Prompts::FileRequest saveRequest(const QString &title, const QStringList &filters,
                                 const QString &suffix)
{
    Prompts::FileRequest request;
    request.title = title;
    request.filters = filters;
    request.startFolder = AppPaths::dialogStartFolder();
    request.defaultSuffix = suffix;
    return request;
}

QString scriptFailure(const FileError &error)
{
    return QStringLiteral("Could not save to %1:\r%2").arg(error.path(), error.detail());
}

QString profileFailure(const FileError &error)
{
    return QStringLiteral("The GameSpy profile could not be stored:\r") + error.text();
}

// The number the export's error message has always shown: a QFileDevice error.
int fileDeviceError(FileError::Kind kind)
{
    switch (kind) {
    case FileError::Kind::None:
        return QFileDevice::NoError;
    case FileError::Kind::ReadError:
    case FileError::Kind::TooLarge:
    case FileError::Kind::Foreign:
        return QFileDevice::ReadError;
    case FileError::Kind::WriteError:
        return QFileDevice::WriteError;
    case FileError::Kind::RenameError:
        return QFileDevice::RenameError;
    case FileError::Kind::Refused:
    case FileError::Kind::NotFound:
    case FileError::Kind::Locked:
    case FileError::Kind::NotAFile:
    case FileError::Kind::OpenError:
        return QFileDevice::OpenError;
    case FileError::Kind::UndoError:
        break;
    }
    return QFileDevice::UnspecifiedError;
}

// A configured folder that holds only the game's data, of a client whose home we
// do not know: the player's config is elsewhere, and the data is not theirs to write.
QString noHomeMessage(const ConfiguredGame &game)
{
    return QStringLiteral("%1 is the game data of %2, which keeps the player's config in a "
                          "folder Glyphsmith does not know. Nothing was saved: configure the "
                          "folder %2 writes its config in.")
        .arg(QDir::toNativeSeparators(game.folder), game.installation->name());
}

// The sentence QuickSave adds for a client that writes its config back itself.
QString rewriteSentence(const ConfiguredGame &game)
{
    if (!game.installation)
        return {};
    switch (game.installation->configRewrite()) {
    case ConfigRewrite::WhileRunning:
        return QStringLiteral("%1 rewrites this file while it runs: close the game before you "
                              "save, or the name is lost at its next write.")
            .arg(game.installation->name());
    case ConfigRewrite::AtQuit:
        return QStringLiteral("%1 rewrites this file when it quits: close the game before you "
                              "save, or the name is lost then.")
            .arg(game.installation->name());
    case ConfigRewrite::Never:
        break;
    }
    return {};
}

ConfigureField fieldOf(const GameFamily &family)
{
    return QByteArrayView(family.configKey) == GlyphSettings::kQuakeFolder
               ? ConfigureField::Quake
               : ConfigureField::QuakeIII;
}

} // namespace

FileCommands::FileCommands(const NameComposer &composer, const ModeController &modes,
                           Prompts &prompts)
    : m_composer(composer), m_modes(modes), m_prompts(prompts)
{}

bool FileCommands::refusesName(const NameComposer &composer, Prompts &prompts)
{
    const QByteArray raw = composer.rawName();
    if (raw.isEmpty()) {
        prompts.message(QStringLiteral("The name is empty: all %1 slots are blank, and saving it "
                                       "would blank your name in the game. Nothing was saved.")
                            .arg(NameComposer::kSlots),
                        kTitle);
        return true;
    }
    const int at = NameCheck::firstScriptBreak(raw, composer.cmdPrefix().endsWith('"'));
    if (at < 0)
        return false;
    QString what;
    switch (raw.at(at)) {
    case '"':
        what = QStringLiteral("a quote character, which would end the name in the game's script");
        break;
    case '\n':
        what =
            QStringLiteral("a line feed, which would break the name's line in the game's script");
        break;
    case '\r':
        what = QStringLiteral(
            "a carriage return, which would break the name's line in the game's script");
        break;
    default:
        what = QStringLiteral("a zero byte, which would end the game's script there");
        break;
    }
    prompts.message(QStringLiteral("Slot %1 holds %2. Nothing was saved.")
                        .arg(composer.slotOfRawByte(at))
                        .arg(what),
                    kTitle);
    return true;
}

void FileCommands::saveName()
{
    if (refusesName(m_composer, m_prompts))
        return;
    const QString path = m_prompts
                             .saveFile(saveRequest(QStringLiteral("Save As..."),
                                                   {QStringLiteral("Configuration File (*.Cfg)")},
                                                   QStringLiteral("cfg")))
                             .path;
    if (path.isEmpty())
        return;

    const FileError written = ScriptWriter::appendLine(path, ScriptWriter::nameLine(m_composer),
                                                       ScriptWriter::Tail::Always);
    if (!written.ok()) {
        m_prompts.message(scriptFailure(written), kTitle);
        return;
    }
    m_prompts.message(QStringLiteral("File Saved!\rTo use this file go to the console and execute "
                                     "the file: ") +
                          QFileInfo(path).fileName(),
                      kTitle);
}

void FileCommands::quickSave()
{
    if (refusesName(m_composer, m_prompts))
        return;
    const GameFamily &family = m_modes.configFamily();
    const ConfiguredGame game = configuredGame();
    if (!game.configured()) {
        m_quickSavePath.clear();
        m_prompts.message(kNotConfigured, kTitle);
        return;
    }
    m_quickSavePath = game.configFile(QString::fromLatin1(family.quickSaveFile));
    if (m_quickSavePath.isEmpty()) {
        m_prompts.message(noHomeMessage(game), kTitle);
        return;
    }
    bool created = false;
    const FileError written =
        ScriptWriter::appendLine(m_quickSavePath, ScriptWriter::nameLine(m_composer),
                                 ScriptWriter::Tail::WhenCreated, &created);
    if (!written.ok()) {
        m_prompts.message(scriptFailure(written), kTitle);
        return;
    }
    QString rewrite = rewriteSentence(game);
    if (!created) {
        QString text = QStringLiteral("File Saved to Default Config: ") + m_quickSavePath;
        if (!rewrite.isEmpty())
            text += u'\r' + std::exchange(rewrite, QString());
        m_prompts.message(text, kTitle);
    }
    if (!rewrite.isEmpty())
        m_prompts.message(rewrite, kTitle);
    if (family.quickSaveHint) {
        m_prompts.message(QStringLiteral("File saved to: ") + m_quickSavePath +
                              QStringLiteral("\rYou will need to manually execute this script."),
                          kTitle);
    }
}

void FileCommands::saveInGameSpy()
{
    if (refusesName(m_composer, m_prompts))
        return;
    const std::optional<QString> profile = m_prompts.input(
        QStringLiteral(
            "Choose a name to store your funname in under the Profiles menu in GameSpy."),
        QStringLiteral("Profile:"), QString());
    if (!profile || profile->isEmpty()) {
        m_prompts.message(kRetry, kTitle);
        return;
    }
    const std::optional<QString> answer = m_prompts.input(
        QStringLiteral("Choose an external file to store your name in (Don't include the .cfg)"),
        QStringLiteral("File:"), QString());
    const QString fileName =
        QStringLiteral("GLYPH-") + answer.value_or(QString()) + QStringLiteral(".cfg");
    if (!answer || answer->isEmpty() || !isPlainFileName(*answer) ||
        QFile::encodeName(fileName).size() > kNameMax) {
        m_prompts.message(kRetry, kTitle);
        return;
    }

    const GameFamily &family = m_modes.configFamily();
    const ConfiguredGame game = configuredGame();
    m_quickSavePath = gameFolderFile(game, fileName);
    // A profile naming a file that was never written helps nobody: without a
    // folder nothing is stored at all.
    if (!game.configured()) {
        m_prompts.message(kNotConfigured, kTitle);
        return;
    }
    if (m_quickSavePath.isEmpty()) {
        m_prompts.message(noHomeMessage(game), kTitle);
        return;
    }
    const QString key =
        kProfilesKey + *profile + QLatin1Char('\\') + QLatin1String(family.browserSubkey);
    KeyStore store = KeyStore::userStore();
    bool created = false;
    auto storeProfile = [&](std::unique_ptr<AtomicFile> *kept) {
        // The key and its value in one write: never a key without the value.
        return store.storeString(KeyStore::Root::CurrentUser, key, kProfileValue,
                                 Cp1252::fromUnicode(fileName), KeyStore::MissingKey::Create, kept);
    };
    auto writeScript = [&](std::unique_ptr<AtomicFile> *kept) {
        return ScriptWriter::appendLine(m_quickSavePath, ScriptWriter::nameLine(m_composer),
                                        ScriptWriter::Tail::WhenCreated, &created, kept);
    };

    // The family says which write comes first. The first stays revertible (and its
    // file locked) until the second has succeeded, and is taken back when it fails.
    const bool profileFirst = family.profileBeforeScript;
    std::unique_ptr<AtomicFile> first;
    if (const FileError error = profileFirst ? storeProfile(&first) : writeScript(&first);
        !error.ok()) {
        m_prompts.message(profileFirst ? profileFailure(error) : scriptFailure(error), kTitle);
        return;
    }
    if (const FileError error = profileFirst ? writeScript(nullptr) : storeProfile(nullptr);
        !error.ok()) {
        QString text = profileFirst ? scriptFailure(error) : profileFailure(error);
        const FileError undone = first ? first->revert() : FileError();
        if (undone.ok()) {
            text += QStringLiteral("\rNothing was saved.");
        } else if (profileFirst) {
            text += QStringLiteral("\rThe GameSpy profile %1 now names %2 all the same, and could "
                                   "not be set back: %3")
                        .arg(*profile, fileName, undone.text());
        } else if (created) {
            text += QStringLiteral("\r%1 was created all the same, and could not be removed: %2")
                        .arg(m_quickSavePath, undone.text());
        } else {
            text += QStringLiteral("\rThe name was added to %1 all the same, and could not be "
                                   "taken out: %2")
                        .arg(m_quickSavePath, undone.text());
        }
        m_prompts.message(text, kTitle);
        return;
    }
    first.reset(); // done: the kept previous version goes, and the lock with it

    // The messages follow the order of the writes.
    const QString saved = QStringLiteral("Name saved to GameSpy!");
    const QString fileSaved = QStringLiteral("File Saved to Default Config: ") + m_quickSavePath;
    if (profileFirst)
        m_prompts.message(saved, kTitle);
    if (!created)
        m_prompts.message(fileSaved, kTitle);
    if (!profileFirst)
        m_prompts.message(saved, kTitle);
}

void FileCommands::exportBitmap()
{
    // The kind of file and its size are chosen with the filter; BMP at the strip's
    // own size comes first, as it always has.
    struct Kind
    {
        const char *filter;
        const char *format;
        int scale;
    };
    static constexpr Kind kKinds[] = {
        {"Bitmaps (*.Bmp)", "BMP", 1},
        {"Bitmaps, twice the size (*.Bmp)", "BMP", 2},
        {"Bitmaps, four times the size (*.Bmp)", "BMP", 4},
        {"PNG Pictures (*.png)", "PNG", 1},
        {"PNG Pictures, twice the size (*.png)", "PNG", 2},
        {"PNG Pictures, four times the size (*.png)", "PNG", 4},
    };
    const QImage strip = NameStripImage::render(m_composer);

    QStringList filters;
    for (const Kind &kind : kKinds)
        filters.append(QLatin1String(kind.filter));
    const Prompts::SaveAnswer answer = m_prompts.saveFile(
        saveRequest(QStringLiteral("Export Bitmap..."), filters, QStringLiteral("bmp")));
    const QString path = answer.path;
    if (path.isEmpty())
        return;

    const Kind &kind = kKinds[qBound(0, answer.filter, int(std::size(kKinds)) - 1)];
    // A suffix the user typed names the format, whatever filter is shown.
    const QString suffix = QFileInfo(path).suffix().toLower();
    const QByteArray format = suffix == QLatin1String("png")   ? QByteArray("PNG")
                              : suffix == QLatin1String("bmp") ? QByteArray("BMP")
                                                               : QByteArray(kind.format);
    const QImage picture = BitmapExport::exportPicture(strip, m_composer.namePos(), kind.scale);
    const FileError saved = BitmapExport::save(picture, path, format);
    if (!saved.ok()) {
        m_prompts.message(
            QStringLiteral("Error: %1 %2").arg(fileDeviceError(saved.kind())).arg(saved.detail()),
            QStringLiteral("mnuFileSaveAsDialog_Click"));
        return;
    }
    m_prompts.message(QStringLiteral("Exported bitmap to: ") + path, kTitle);
}

ConfiguredGame FileCommands::configuredGame() const
{
    return ConfiguredGames::fromSettings(fieldOf(m_modes.configFamily()),
                                         InstallFinder::find(m_places));
}

// `fileName` in the folder the game's scripts go into; empty when there is none.
QString FileCommands::gameFolderFile(const ConfiguredGame &game, const QString &fileName) const
{
    const QString folder = game.scriptFolder();
    if (folder.isEmpty())
        return {};
    return folder.endsWith(QLatin1Char('/')) ? folder + fileName
                                             : folder + QLatin1Char('/') + fileName;
}

// The name line in the client's own syntax; the family's where no client is known.
QByteArray FileCommands::gameNameLine(const ConfiguredGame &game) const
{
    const QByteArray command = game.installation ? game.installation->nameCommand()
                               : m_modes.configFamily().id == FamilyId::Quake3
                                   ? QByteArrayLiteral("seta name")
                                   : QByteArrayLiteral("name");
    // The value as the mode frames it (Quake III's "^7" around the name), without
    // the script line's own command and comment.
    const QByteArray prefix = m_composer.cmdPrefix();
    const QByteArray suffix = m_composer.cmdSuffix();
    const qsizetype open = prefix.indexOf('"');
    const qsizetype close = suffix.indexOf('"');
    const QByteArray value = (open >= 0 ? prefix.mid(open + 1) : QByteArray()) +
                             m_composer.rawName() + (close >= 0 ? suffix.left(close) : suffix);
    return command + " \"" + value + '"';
}

void FileCommands::saveInGame()
{
    static const QString title = QStringLiteral("Save Name in Game");
    if (refusesName(m_composer, m_prompts))
        return;
    const ConfiguredGame game = configuredGame();
    if (!game.configured()) {
        m_prompts.message(kNotConfigured, title);
        return;
    }
    const QString folder = game.scriptFolder();
    if (folder.isEmpty()) {
        m_prompts.message(noHomeMessage(game), title);
        return;
    }
    if (game.installation && !game.installation->homeExists()) {
        m_prompts.message(QStringLiteral("%1 has not made its folder %2 yet: start the game "
                                         "once, then save again. Nothing was saved.")
                              .arg(game.installation->name(), QDir::toNativeSeparators(folder)),
                          title);
        return;
    }
    const GameScript::Saved saved = GameScript::save(folder, gameNameLine(game));
    if (!saved.error.ok()) {
        QString text = scriptFailure(saved.error);
        text += saved.notUndone.ok()
                    ? QStringLiteral("\rNothing was saved.")
                    : QStringLiteral("\r%1 runs glyphsmith.cfg all the same, and could not be "
                                     "set back: %2")
                          .arg(saved.autoexecPath, saved.notUndone.text());
        m_prompts.message(text, title);
        return;
    }
    m_quickSavePath = saved.scriptPath;
    const QString game_ = game.installation ? game.installation->name()
                                            : QStringLiteral("The game");
    QString text = QStringLiteral("Your name is saved in %1, and %2 runs it at every start.")
                       .arg(QDir::toNativeSeparators(saved.scriptPath),
                            QDir::toNativeSeparators(saved.autoexecPath));
    switch (saved.autoexec) {
    case GameScript::AutoexecChange::AlreadyRuns:
        break;
    case GameScript::AutoexecChange::Added:
        text += QStringLiteral(" One line was added to it to run the script.");
        break;
    case GameScript::AutoexecChange::Created:
        text += QStringLiteral(" It was created for that.");
        break;
    }
    text += QStringLiteral("\r%1 takes the name when it next starts; to take it now, type\r"
                           "exec glyphsmith.cfg\rin the game's console.")
                .arg(game_);
    text += QStringLiteral("\rUndo Save Name in Game takes the line out of autoexec.cfg again.");
    m_prompts.message(text, title);
}

void FileCommands::undoSaveInGame()
{
    static const QString title = QStringLiteral("Undo Save Name in Game");
    const ConfiguredGame game = configuredGame();
    const QString folder = game.scriptFolder();
    if (folder.isEmpty()) {
        m_prompts.message(game.configured() ? noHomeMessage(game) : kNotConfigured, title);
        return;
    }
    const GameScript::Undone undone = GameScript::undo(folder);
    if (!undone.error.ok()) {
        m_prompts.message(QStringLiteral("Could not change %1:\r%2\rNothing was changed.")
                              .arg(undone.error.path(), undone.error.detail()),
                          title);
        return;
    }
    const QString path = QDir::toNativeSeparators(undone.autoexecPath);
    QString text;
    switch (undone.removal) {
    case GameScript::Removal::Removed:
        text = QStringLiteral("The line that ran glyphsmith.cfg is gone from %1: the file is as "
                              "it was before Glyphsmith changed it.");
        break;
    case GameScript::Removal::FileRemoved:
        text = QStringLiteral("%1 is gone again: Glyphsmith had created it to run "
                              "glyphsmith.cfg.");
        break;
    case GameScript::Removal::NotOurs:
        text = QStringLiteral("%1 runs glyphsmith.cfg by a line of your own; it was left as it "
                              "is.");
        break;
    case GameScript::Removal::NoLine:
        text = QStringLiteral("Nothing in %1 runs glyphsmith.cfg; nothing was changed.");
        break;
    }
    m_prompts.message(text.arg(path), title);
}

void FileCommands::saveInXqf()
{
    static const QString title = QStringLiteral("Save Name in XQF");
    if (refusesName(m_composer, m_prompts))
        return;
    const ConfiguredGame game = configuredGame();
    XqfConfig::Game xqfGame = XqfConfig::Game::QuakeWorld;
    if (m_modes.configFamily().id == FamilyId::Quake3)
        xqfGame = game.targetKey() == "openarena" ? XqfConfig::Game::OpenArena
                                                  : XqfConfig::Game::Quake3;
    const XqfConfig::Saved saved =
        XqfConfig::save(XqfConfig::configPath(m_places.home, m_places.xdgConfigHome), xqfGame,
                        m_places.home, gameNameLine(game));
    if (!saved.error.ok()) {
        QString text = scriptFailure(saved.error);
        text += saved.notUndone.ok()
                    ? QStringLiteral("\rNothing was saved.")
                    : QStringLiteral("\r%1 names glyphsmith.cfg all the same, and could not be "
                                     "set back: %2")
                          .arg(saved.configPath, saved.notUndone.text());
        m_prompts.message(text, title);
        return;
    }
    m_quickSavePath = saved.scriptPath;
    QString text =
        QStringLiteral("Your name is saved in %1, and XQF's Custom CFG for %2 is now "
                       "glyphsmith.cfg (in %3).")
            .arg(QDir::toNativeSeparators(saved.scriptPath),
                 QLatin1String(XqfConfig::row(xqfGame).id),
                 QDir::toNativeSeparators(saved.configPath));
    if (!saved.listed)
        text += QStringLiteral(" XQF does not list that folder's configs, but passes the name to "
                               "the game all the same.");
    text += QStringLiteral("\rXQF runs it after its own player name each time it starts the "
                           "game, so this name is the one the game takes.");
    m_prompts.message(text, title);
}
