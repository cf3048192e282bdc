#include "modecontroller.h"

#include "apppaths.h"
#include "gamefont.h"
#include "namecomposer.h"
#include "prompts.h"

#include <QFileInfo>

static_assert(GameFont::kSide == FontPicture::kSize, "a game's font fills the grid's picture");

namespace {

const QString kTitle = QStringLiteral("Glyphsmith");

QString withoutStop(QString reason)
{
    if (reason.endsWith(QLatin1Char('.')))
        reason.chop(1);
    return reason;
}

QString pictureFailure(const FileError &error)
{
    return QStringLiteral("The font picture %1 could not be loaded: %2.")
        .arg(error.path(), withoutStop(error.detail()));
}

// The files a game keeps its font in, as the MOD modes' dialog offers them.
bool isGameFile(const QString &path)
{
    static const QStringList suffixes = {QStringLiteral("pak"), QStringLiteral("pk3"),
                                         QStringLiteral("wad"), QStringLiteral("pcx"),
                                         QStringLiteral("tga"), QStringLiteral("lmp")};
    return suffixes.contains(QFileInfo(path).suffix().toLower());
}

} // namespace

ModeController::ModeController(NameComposer &composer, Prompts &prompts, QObject *parent)
    : QObject(parent), m_composer(composer), m_prompts(prompts)
{}

bool ModeController::loadPicture(const QString &path)
{
    const FileError loaded = m_picture.load(path);
    if (!loaded.ok()) {
        m_prompts.message(pictureFailure(loaded), kTitle);
        return false;
    }
    Q_EMIT pictureChanged();
    return true;
}

void ModeController::useGameFont(const QImage &white, const QString &note)
{
    m_picture.setImage(white);
    m_gameFont = m_picture.image();
    m_fontNote = note;
    Q_EMIT pictureChanged();
}

// The mode's own picture at `path`, or the installed game's font where the
// player asked for it and it can be read.
bool ModeController::loadModeFont(const ModeInfo &info, const QString &path)
{
    QString note;
    const bool ownFont = info.id == ModeId::QuakeWorld || info.id == ModeId::Quake3;
    if (m_folders.useGameFonts && ownFont) {
        const bool qw = info.id == ModeId::QuakeWorld;
        QStringList folders = qw ? m_folders.quakeWorldFonts : m_folders.quake3Fonts;
        if (folders.isEmpty() && !(qw ? m_folders.quakeWorld : m_folders.quake3).isEmpty())
            folders = {qw ? m_folders.quakeWorld : m_folders.quake3};
        if (folders.isEmpty()) {
            note = QStringLiteral("The game's own font is not shown: no game folder is "
                                  "configured for this game.");
        } else {
            const GameFont::Result font =
                GameFont::fromGameFolders(*GameFamilies::family(info.family).fontEngine, folders);
            if (font.ok()) {
                useGameFont(font.value.image,
                            QStringLiteral("The game's own font: %1").arg(font.value.source));
                return true;
            }
            note = QStringLiteral("The game's own font is not shown: %1.")
                       .arg(withoutStop(font.error.detail));
        }
    }
    if (!loadPicture(path))
        return false;
    m_gameFont = QImage();
    m_fontNote = note;
    return true;
}

// A MOD mode's font: a picture, or a font found in a game's archive or file.
bool ModeController::loadChosenFont(const ModeInfo &info, const QString &path)
{
    if (!isGameFile(path)) {
        if (!loadPicture(path))
            return false;
        m_gameFont = QImage();
        m_fontNote.clear();
        return true;
    }
    const GameFont::Result font = GameFont::fromFile(
        path, GameFamilies::family(info.family).fontEngine.value_or(GameFont::Engine::Quake));
    if (!font.ok()) {
        m_prompts.message(QStringLiteral("No font could be read from %1:\r%2.")
                              .arg(path, withoutStop(font.error.detail)),
                          kTitle);
        return false;
    }
    useGameFont(font.value.image, QStringLiteral("The font of %1").arg(font.value.source));
    return true;
}

bool ModeController::startUp()
{
    m_mode = ModeId::Quake3;
    m_configFamily = &targetRow(FamilyId::Quake3);
    const ModeInfo &q3 = GameModes::mode(ModeId::Quake3);
    m_colourPictures.fill(std::nullopt);
    const bool loaded = loadModeFont(q3, AppPaths::dataFile(QString::fromLatin1(q3.picture)));
    // Even without its picture the window enters the mode: the grid stays empty,
    // but names can still be built from the table.
    m_composer.applyFiller(q3.filler);
    m_label = QString::fromLatin1(q3.label);
    m_quickSave = q3.quickSave;
    m_saveName = q3.saveName;
    m_colourList = true;
    Q_EMIT modeChanged();
    return loaded;
}

bool ModeController::enterMode(ModeId id)
{
    const ModeInfo &info = GameModes::mode(id);
    if (info.picture) {
        if (!loadModeFont(info, AppPaths::dataFile(QString::fromLatin1(info.picture))))
            return false;
    } else {
        Prompts::FileRequest request;
        request.title = QString::fromLatin1(GameModes::kOpenTitle);
        request.filters = GameModes::modFilters();
        request.startFolder = AppPaths::dialogStartFolder();
        const QString path = m_prompts.openFile(request);
        if (path.isEmpty() || !loadChosenFont(info, path))
            return false;
    }
    // A new font: colour pictures and tints are made afresh when needed.
    m_colourPictures.fill(std::nullopt);

    // The mode first, so whoever redraws on the name's change sees the new one.
    m_mode = id;
    m_composer.applyFiller(info.filler);
    m_label = QString::fromLatin1(info.label);
    if (info.setsConfigFamily)
        m_configFamily = &targetRow(info.family);
    m_quickSave = info.quickSave;
    m_saveName = info.saveName;
    m_colourList = info.filler == TableFiller::Quake3;
    Q_EMIT modeChanged();
    return true;
}

QImage ModeController::glyph(int cell, int gameColour) const
{
    const ColourInfo *colour = GameModes::colourForGameIndex(gameColour);
    if (!colour || !family().colourCodes)
        return m_picture.glyph(cell);
    std::optional<FontPicture> &picture = m_colourPictures[gameColour];
    if (!picture) {
        picture.emplace();
        // A colour picture that cannot be read shows blank glyphs; the grid's own
        // picture load has already told the user about a broken installation.
        if (!m_gameFont.isNull())
            picture->setImage(GameFont::tint(m_gameFont, gameColour));
        else
            (void)picture->load(AppPaths::dataFile(QString::fromLatin1(colour->picture)));
    }
    return picture->glyph(cell);
}

bool ModeController::pickColour(int index)
{
    const auto colours = GameModes::colours();
    if (index < 0 || index >= static_cast<int>(colours.size())) {
        // The pending code still goes in front of the next character.
        m_composer.setColorCode(m_composer.colorCode());
        m_prompts.message(QStringLiteral("ERROR - An unknown error occured."), kTitle);
        return false;
    }
    const ColourInfo &colour = colours[index];
    if (!m_gameFont.isNull()) {
        // The game tints its one white font; so does the grid.
        m_picture.setImage(GameFont::tint(m_gameFont, colour.gameIndex));
        Q_EMIT pictureChanged();
    } else if (!loadPicture(AppPaths::dataFile(QString::fromLatin1(colour.picture)))) {
        return false;
    }
    m_composer.setColorCode(QByteArray(colour.code));
    return true;
}

const GameFamily &ModeController::targetRow(FamilyId id) const
{
    switch (id) {
    case FamilyId::QuakeWorld:
        return GameFamilies::family(id, m_folders.quakeWorldTarget);
    case FamilyId::Quake3:
        return GameFamilies::family(id, m_folders.quake3Target);
    default:
        return GameFamilies::family(id);
    }
}
