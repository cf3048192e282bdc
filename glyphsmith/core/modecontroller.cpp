#include "modecontroller.h"

#include "apppaths.h"
#include "namecomposer.h"
#include "prompts.h"

namespace {

const QString kTitle = QStringLiteral("Glyphsmith");

} // namespace

ModeController::ModeController(NameComposer &composer, Prompts &prompts, QObject *parent)
    : QObject(parent), m_composer(composer), m_prompts(prompts)
{}

bool ModeController::loadPicture(const QString &path)
{
    const FontPicture::LoadResult result = m_picture.load(path);
    if (!result.ok) {
        m_prompts.message(result.message, kTitle);
        return false;
    }
    Q_EMIT pictureChanged();
    return true;
}

bool ModeController::startUp()
{
    m_mode = ModeId::Quake3;
    m_configFamily = &GameFamilies::family(FamilyId::Quake3);
    const bool loaded = loadPicture(
        AppPaths::dataFile(QString::fromLatin1(GameModes::mode(ModeId::Quake3).picture)));
    // Even without its picture the window enters the mode: the grid stays empty,
    // but names can still be built from the table.
    const ModeInfo &q3 = GameModes::mode(ModeId::Quake3);
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
    QString path;
    if (info.picture) {
        path = AppPaths::dataFile(QString::fromLatin1(info.picture));
    } else {
        Prompts::FileRequest request;
        request.title = QString::fromLatin1(GameModes::kOpenTitle);
        request.filters = GameModes::modFilters();
        request.startFolder = AppPaths::dialogStartFolder();
        path = m_prompts.openFile(request);
        if (path.isEmpty())
            return false;
    }
    if (!loadPicture(path))
        return false;

    // The mode first, so whoever redraws on the name's change sees the new one.
    m_mode = id;
    m_composer.applyFiller(info.filler);
    m_label = QString::fromLatin1(info.label);
    if (info.setsConfigFamily)
        m_configFamily = &GameFamilies::family(info.family);
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
        picture->load(AppPaths::dataFile(QString::fromLatin1(colour->picture)));
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
    if (!loadPicture(AppPaths::dataFile(QString::fromLatin1(colour.picture))))
        return false;
    m_composer.setColorCode(QByteArray(colour.code));
    return true;
}
