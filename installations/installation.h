#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The game an installed client plays.
enum class Game { Quake, QuakeWorld, QuakeII, QuakeIII, OpenArena };

// When the client writes its config file back over what is there.
enum class ConfigRewrite {
    WhileRunning, // whenever an archived setting changes: a line added while it runs is lost
    AtQuit,       // when it quits: a line added while it runs is lost at quit
    Never         // only when the player asks it to
};

// The Configure field an installation belongs in. Quake II clients are found
// but have no field of their own.
enum class ConfigureField { None, Quake, QuakeIII };

// One installed client as found on this machine: where its game data is, where
// the player's config is, and how the client treats that config. All paths are
// absolute. Made by InstallFinder.
class Installation
{
public:
    Installation() = default;

    // Stable, for the settings file: "openarena", "ioquake3-xdg", "ezquake-flatpak", ...
    QString key() const { return m_key; }
    // The client's name as players know it: "OpenArena", "ezQuake (Flatpak)".
    QString name() const { return m_name; }
    Game game() const { return m_game; }
    ConfigureField field() const;

    // The data game folders that exist, in the engine's search order (first wins).
    QStringList dataFolders() const { return m_dataFolders; }
    // The home game folder the client reads and writes the config in; empty when
    // the client has no home we know of.
    QString homeFolder() const { return m_homeFolder; }
    bool hasHome() const { return !m_homeFolder.isEmpty(); }
    // False until the client first runs and makes its home.
    bool homeExists() const { return m_homeExists; }

    // The config file the client reads at start and writes; empty without a home.
    QString configFile() const { return m_configFile; }
    // The script the client runs after its config and never writes; empty without a home.
    QString autoexecFile() const;
    // Never for a client without a home: there is no config to write then.
    ConfigRewrite configRewrite() const { return m_rewrite; }
    // The command that sets the player's name in a script: "seta name" or "name".
    QByteArray nameCommand() const;

    // Where the game's font is searched, in the engine's order: the home game
    // folder first (when it exists), then the data folders.
    QStringList fontFolders() const;

    // One line for the Configure window, with playerHome shown as "~":
    // "OpenArena — config ~/.openarena/baseoa, data /usr/lib/openarena/baseoa".
    QString describe(const QString &playerHome) const;

    bool operator==(const Installation &) const = default;

private:
    friend class InstallFinder;

    QString m_key;
    QString m_name;
    Game m_game = Game::Quake;
    QStringList m_dataFolders;
    QString m_homeFolder;
    bool m_homeExists = false;
    QString m_configFile;
    ConfigRewrite m_rewrite = ConfigRewrite::Never;
    QString m_clientFolder;   // the client's folder around the home game folder
    QStringList m_dataSameAs; // other names of the data folders, existing
};
