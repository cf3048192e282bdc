#include "filecommands.h"

#include "apppaths.h"
#include "bitmapexport.h"
#include "cp1252.h"
#include "glyphsettings.h"
#include "keystore.h"
#include "modecontroller.h"
#include "namecomposer.h"
#include "namestripimage.h"
#include "prompts.h"
#include "scriptwriter.h"

#include <QFileInfo>

namespace {

const QString kTitle = QStringLiteral("Glyphsmith");
const QString kRetry =
    QStringLiteral("ERROR - Glyphsmith encountered an error, Please retry this function again.");
const QString kProfilesKey = QStringLiteral("Software\\GameSpy\\GameSpy 3D\\Profiles\\");

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

// The save dialog both commands show: one filter, starting where file dialogs
// start. The empty text when cancelled.
QString askSavePath(Prompts &prompts, const QString &title, const QString &filter,
                    const QString &suffix)
{
    Prompts::FileRequest request;
    request.title = title;
    request.filters = {filter};
    request.startFolder = AppPaths::dialogStartFolder();
    request.defaultSuffix = suffix;
    return prompts.saveFile(request);
}

} // namespace

FileCommands::FileCommands(const NameComposer &composer, const ModeController &modes,
                           Prompts &prompts)
    : m_composer(composer), m_modes(modes), m_prompts(prompts)
{}

void FileCommands::saveName()
{
    const QString path =
        askSavePath(m_prompts, QStringLiteral("Save As..."),
                    QStringLiteral("Configuration File (*.Cfg)"), QStringLiteral("cfg"));
    if (path.isEmpty())
        return;

    const ScriptWriter::Result written = ScriptWriter::appendLine(
        path, ScriptWriter::nameLine(m_composer), ScriptWriter::Tail::Always);
    if (!written.ok) {
        m_prompts.message(written.message, kTitle);
        return;
    }
    m_prompts.message(QStringLiteral("File Saved!\rTo use this file go to the console and execute "
                                     "the file: ") +
                          QFileInfo(path).fileName(),
                      kTitle);
}

void FileCommands::quickSave()
{
    const GameFamily &family = m_modes.configFamily();
    m_quickSavePath = gameFolderFile(QString::fromLatin1(family.quickSaveFile));
    if (quickSave1() && family.quickSaveHint) {
        m_prompts.message(QStringLiteral("File saved to: ") + m_quickSavePath +
                              QStringLiteral("\rYou will need to manually execute this script."),
                          kTitle);
    }
}

void FileCommands::saveInGameSpy()
{
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
    if (!answer || answer->isEmpty() || !isPlainFileName(*answer)) {
        m_prompts.message(kRetry, kTitle);
        return;
    }
    const QString fileName = QStringLiteral("GLYPH-") + *answer + QStringLiteral(".cfg");

    const GameFamily &family = m_modes.configFamily();
    m_quickSavePath = gameFolderFile(fileName);
    const QString key =
        kProfilesKey + *profile + QLatin1Char('\\') + QLatin1String(family.browserSubkey);
    auto storeProfile = [&] {
        KeyStore store = KeyStore::userStore();
        KeyStore::Result stored = store.createKey(KeyStore::Root::CurrentUser, key);
        if (stored.ok) {
            stored = store.storeString(KeyStore::Root::CurrentUser, key,
                                       QStringLiteral("Custom CFG"), Cp1252::fromUnicode(fileName));
        }
        if (stored.ok) {
            m_prompts.message(QStringLiteral("Name saved to GameSpy!"), kTitle);
        } else {
            m_prompts.message(QStringLiteral("The GameSpy profile could not be stored:\r") +
                                  stored.message,
                              kTitle);
        }
    };

    // The two families write in a different order, and the user sees the
    // messages in that order.
    if (family.profileBeforeScript) {
        storeProfile();
        quickSave1();
    } else {
        quickSave1();
        storeProfile();
    }
}

void FileCommands::exportBitmap()
{
    const QImage picture =
        BitmapExport::exportPicture(NameStripImage::render(m_composer), m_composer.namePos());

    const QString path = askSavePath(m_prompts, QStringLiteral("Export Bitmap..."),
                                     QStringLiteral("Bitmaps (*.Bmp)"), QStringLiteral("bmp"));
    if (path.isEmpty())
        return;

    const BitmapExport::Result saved = BitmapExport::save(picture, path);
    if (!saved.ok) {
        m_prompts.message(QStringLiteral("Error: %1 %2").arg(saved.errorNumber).arg(saved.message),
                          QStringLiteral("mnuFileSaveAsDialog_Click"));
        return;
    }
    m_prompts.message(QStringLiteral("Exported bitmap to: ") + path, kTitle);
}

bool FileCommands::quickSave1()
{
    if (m_quickSavePath.isEmpty()) {
        m_prompts.message(
            QStringLiteral("You have not configured Glyphsmith to utilize this feature."), kTitle);
        return false;
    }
    const ScriptWriter::Result written = ScriptWriter::appendLine(
        m_quickSavePath, ScriptWriter::nameLine(m_composer), ScriptWriter::Tail::WhenCreated);
    if (!written.ok) {
        m_prompts.message(written.message, kTitle);
        return false;
    }
    if (!written.created)
        m_prompts.message(QStringLiteral("File Saved to Default Config: ") + m_quickSavePath,
                          kTitle);
    return true;
}

// The family's folder from the settings, joined with `fileName`; empty when the
// folder is not configured.
QString FileCommands::gameFolderFile(const QString &fileName) const
{
    const QString folder = GlyphSettings::read(QLatin1String(m_modes.configFamily().configKey));
    if (folder.isEmpty())
        return {};
    return folder.endsWith(QLatin1Char('/')) ? folder + fileName
                                             : folder + QLatin1Char('/') + fileName;
}
