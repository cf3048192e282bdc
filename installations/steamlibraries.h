#pragma once

#include <QByteArray>
#include <QStringList>

struct InstallPlaces;

// Steam's game libraries on this machine, read from its libraryfolders.vdf files.
class SteamLibraries
{
public:
    // The library folders (each holds steamapps/common/<Game>/) that exist: every
    // Steam root below places.home, then the libraries its files list, each once.
    static QStringList find(const InstallPlaces &places);

    // The "path" values of a libraryfolders.vdf (Valve's KeyValues text), in file
    // order. Junk, unbalanced braces and cut-off text end the reading quietly;
    // what was read before stays.
    static QStringList parseLibraryFolders(const QByteArray &text);

    // A libraryfolders.vdf is a few kilobytes; more than this is not one.
    static constexpr qint64 kMaxFileBytes = 1024 * 1024;
};
