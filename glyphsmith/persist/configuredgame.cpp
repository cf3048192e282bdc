// SPDX-License-Identifier: GPL-3.0-or-later
#include "configuredgame.h"

#include "glyphsettings.h"
#include "installfinder.h"

#include <QDir>

QString ConfiguredGame::scriptFolder() const
{
    if (!installation)
        return folder;
    return installation->homeFolder();
}

QString ConfiguredGame::configFile(const QString &defaultName) const
{
    if (installation && installation->hasHome() && !installation->configFile().isEmpty())
        return installation->configFile();
    const QString into = scriptFolder();
    if (into.isEmpty())
        return {};
    return into.endsWith(u'/') ? into + defaultName : into + u'/' + defaultName;
}

QStringList ConfiguredGame::fontFolders() const
{
    if (installation) {
        if (const QStringList folders = installation->fontFolders(); !folders.isEmpty())
            return folders;
    }
    return folder.isEmpty() ? QStringList() : QStringList{folder};
}

QByteArray ConfiguredGame::targetKey() const
{
    if (installation) {
        switch (installation->game()) {
        case Game::OpenArena:
            return "openarena";
        case Game::QuakeIII:
            return "ioquake3";
        default:
            break;
        }
    }
    return chosenTarget;
}

namespace ConfiguredGames {

QString folderKey(ConfigureField field)
{
    return QLatin1String(field == ConfigureField::Quake ? GlyphSettings::kQuakeFolder
                                                        : GlyphSettings::kQuake3Folder);
}

QString clientKey(ConfigureField field)
{
    return QLatin1String(field == ConfigureField::Quake ? kQuakeClient : kQuake3Client);
}

QString targetKey(ConfigureField field)
{
    return QLatin1String(field == ConfigureField::Quake ? kQuakeTarget : kQuake3Target);
}

QList<Installation> ofField(ConfigureField field, const QList<Installation> &found)
{
    QList<Installation> mine = found;
    mine.removeIf([field](const Installation &i) { return i.field() != field; });
    return mine;
}

ConfiguredGame resolve(ConfigureField field, const QString &folder, const QString &client,
                       const QByteArray &target, const QList<Installation> &found)
{
    ConfiguredGame game{folder, std::nullopt, target};
    if (folder.isEmpty())
        return game;
    const QList<FolderMatch> matches = InstallFinder::recognise(folder, ofField(field, found));
    for (const FolderMatch &match : matches) {
        if (match.installation.key() == client) {
            game.installation = match.installation;
            return game;
        }
    }
    if (!matches.isEmpty())
        game.installation = matches.first().installation;
    return game;
}

ConfiguredGame fromSettings(ConfigureField field, const QList<Installation> &found)
{
    return resolve(field, GlyphSettings::read(folderKey(field)),
                   GlyphSettings::read(clientKey(field)),
                   GlyphSettings::read(targetKey(field)).toLatin1(), found);
}

} // namespace ConfiguredGames
