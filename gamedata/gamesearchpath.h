// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bytesource.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

// The places a game looks for a data file, in the order it looks: archives and
// folders, the first that holds the file wins (so the archive a game reads last
// is looked at first). Archives are opened only when the search reaches them;
// their directories are read once, keeping only the entries of the names asked
// for (and of those `lookFor` names), and closed again, so that neither memory
// nor open files grow with the archives and their members.
class GameSearchPath
{
public:
    // Which archives a game folder holds, as the engines add them.
    enum class Archives {
        PaksUntilGap, // pak0.pak, pak1.pak, ... up to the first missing one (Quake)
        Paks0To9,     // any of pak0.pak to pak9.pak (Hexen II, Quake II)
        SortedPk3,    // every *.pk3, in Quake III's name order (Quake III)
    };

    struct Rules
    {
        Archives archives;
        bool folderAboveArchives;     // loose files win over the folder's archives (Hexen II)
        Qt::CaseSensitivity pakNames; // how names inside .pak archives compare
        QStringList baseFolders;      // searched after a mod folder, in the engine's order
    };

    // The folder's places, then those of each base folder beside it that the
    // engine searches after it ("id1" beside "/q/mod"). A base folder given
    // itself is followed only by the bases after it. Folders that do not
    // exist are left out.
    static GameSearchPath forFolder(const Rules &rules, const QString &folder);
    // The same of several folders, the earlier over the later (a player's home
    // folder, then the installation's): the folders given, in order, then the
    // base folders beside them, each base beside every folder before the next
    // base, as the engines add home and installation folders.
    static GameSearchPath forFolders(const Rules &rules, const QStringList &folders);
    // One archive (.pak or .pk3) and nothing else.
    static GameSearchPath forArchive(const QString &path, Qt::CaseSensitivity pakNames);

    void append(const GameSearchPath &other);
    bool isEmpty() const { return m_places.isEmpty(); }

    // Names a later find() will ask for, looked for too while each directory
    // is read, so that it is read once.
    void lookFor(const QList<QByteArray> &names);

    struct Located
    {
        QString where; // "/q/id1/pak0.pak: gfx.wad" or "/q/id1/gfx.wad"
        std::shared_ptr<ByteSource> bytes;
    };

    // The file `name` (forward slashes) from the first place that holds it.
    // A zip member is inflated to at most `cap` bytes. NotFound when no place
    // has it; a damaged .pak, or one that is no regular file, stops the search
    // (the engines refuse to start); a .pk3 in a folder that cannot be read,
    // and a loose file that is no regular file, are passed over (Quake III
    // skips them), and passedOver() says why.
    GameDataResult<Located> find(const QByteArray &name, qint64 cap);

    // What was searched, for messages: "/q/mod or /q/id1 (3 archives)".
    QString searched() const;
    // Why places were passed over, each naming its file, in search order.
    const QList<GameDataError> &passedOver() const { return m_passedOver; }
    // That `name` was not found: "No gfx.wad in /q/mod or /q/id1 (2 archives)",
    // or, when places were passed over, why, and that no other place holds it.
    QString missing(const QByteArray &name) const;

private:
    struct Place;
    QList<std::shared_ptr<Place>> m_places;
    QStringList m_folders; // game folders searched
    QStringList m_labels;  // what a message names: those folders, or the lone archive
    QList<QByteArray> m_lookFor;
    QList<GameDataError> m_passedOver;
};
