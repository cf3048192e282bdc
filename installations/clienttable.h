#pragma once

#include "installation.h"

#include <QList>
#include <QString>

// The clients this program knows, one row each: where each keeps its home and
// its data, relative to the folders of InstallPlaces. Read by InstallFinder.
namespace ClientTable {

enum class Under {
    Home,       // the player's home folder
    ConfigHome, // $XDG_CONFIG_HOME
    DataHome,   // $XDG_DATA_HOME
    System,     // an absolute folder, below InstallPlaces::root
    Steam,      // <library>/steamapps/common, once for each Steam library
    HomeGame    // the home game folder chosen for the row (config files only)
};

struct Place
{
    Under under;
    QString path;
    // A data folder that several clients read (Debian's Quake data): it shows
    // where a client's data is, not that the client is installed.
    bool shared = false;
};

struct Row
{
    QString key;
    QString name;
    Game game;
    ConfigRewrite rewrite;
    // The client's own folders, in the order the client chooses among them: the
    // first that exists, else the last (the one a first start makes).
    QList<Place> homes;
    QString homeGame; // the game folder inside the chosen home ("baseoa"; empty: the home itself)
    // The config files the client reads at start, in its order: the first that
    // exists, else the first.
    QList<Place> configs;
    QList<Place> data;    // data game folders, in the engine's search order
    QList<Place> sameAs;  // other names of the data folders, to recognise a typed one
    QList<Place> program; // the installed program, where a package puts it
};

const QList<Row> &rows();

} // namespace ClientTable
