// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "installation.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The game a Configure field names: the folder the player gave and, when that
// folder is the home or the data folder of an installed client, that client, so
// that both halves are known. The save commands write into the client's home,
// the font is searched over home and data, and the name check follows the game
// the client plays.
struct ConfiguredGame
{
    QString folder; // as stored in the field's key (q1config, q3config)
    std::optional<Installation> installation;
    QByteArray chosenTarget; // the player's choice of server or client, if any

    bool configured() const { return !folder.isEmpty(); }
    // The game folder the scripts go into: the client's home game folder; the
    // configured folder itself when it belongs to no known client (a folder of
    // a game installed by hand, as on other systems); empty for a client that
    // has no home we know of, whose data folder is not the player's to write.
    QString scriptFolder() const;
    // The file QuickSave appends to: the config the client reads and writes,
    // else `defaultName` in scriptFolder(); empty where scriptFolder() is.
    QString configFile(const QString &defaultName) const;
    // Where the game's font is searched, home first, as the engine searches.
    QStringList fontFolders() const;
    // The GameTarget key the name is checked for: the game an installed client
    // plays where that decides it (OpenArena), else the player's choice.
    QByteArray targetKey() const;
};

namespace ConfiguredGames {

// The settings beside each folder key: the client it was matched to
// (Installation::key()), and the target the player chose.
inline constexpr char kQuake3Client[] = "q3client";
inline constexpr char kQuakeClient[] = "q1client";
inline constexpr char kQuake3Target[] = "q3target";
inline constexpr char kQuakeTarget[] = "q1target";

QString folderKey(ConfigureField field);
QString clientKey(ConfigureField field);
QString targetKey(ConfigureField field);

// The installations in `found` of the game `field` names, in their order.
QList<Installation> ofField(ConfigureField field, const QList<Installation> &found);
// `folder` matched among the installations of `field`'s game in `found` (a Quake II
// folder typed as Quake III's is none): the one whose key is `client` when it is one
// of the matches, else the first match (InstallFinder's order).
ConfiguredGame resolve(ConfigureField field, const QString &folder, const QString &client,
                       const QByteArray &target, const QList<Installation> &found);
// The field as the settings hold it, matched to the installations `found`.
ConfiguredGame fromSettings(ConfigureField field, const QList<Installation> &found);

} // namespace ConfiguredGames
