#pragma once

#include "installation.h"

#include <QList>
#include <QString>

struct InstallPlaces;

// Which half of an installation a folder is.
enum class FolderHalf { Home, Data };

struct FolderMatch
{
    Installation installation;
    FolderHalf half;
};

// Finds the installed clients of the client table. Reads folder entries and
// Steam's small libraryfolders.vdf files only; never opens an archive.
class InstallFinder
{
public:
    // Every installation whose home, data or program exists, in table order (a
    // Steam game once for each library that holds it).
    static QList<Installation> find(const InstallPlaces &places);

    // The installations a folder the player typed or browsed belongs to, as the
    // home or the data folder (or the folder above either), links and trailing
    // slashes resolved. Home matches come first, then data matches of clients
    // whose home exists, then of clients whose home is known, then the rest.
    // Empty for a folder of no known client.
    static QList<FolderMatch> recognise(const QString &folder, const InstallPlaces &places);
    static QList<FolderMatch> recognise(const QString &folder, const QList<Installation> &found);
};
