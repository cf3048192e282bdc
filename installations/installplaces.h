#pragma once

#include <QString>

// The folders the clients' homes and data are found under. Tests point all of
// them into a temporary folder; the programs take fromEnvironment().
struct InstallPlaces
{
    QString home;          // the player's home folder ($HOME)
    QString xdgConfigHome; // $XDG_CONFIG_HOME; empty means home/.config
    QString xdgDataHome;   // $XDG_DATA_HOME; empty means home/.local/share
    QString root;          // put before every system folder (/usr/...); empty on a real machine

    static InstallPlaces fromEnvironment();

    // The folder a client uses for each: the variable when set, else the default below home.
    QString configHome() const;
    QString dataHome() const;
    // A system folder (absolute, "/usr/lib/openarena") below root.
    QString system(const QString &absolute) const;
};
