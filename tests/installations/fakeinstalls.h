#pragma once

#include "installplaces.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

// Fake homes, system folders and Steam libraries in a temporary folder, for the
// tests and the benchmark. Empty folders and files only: no game data.
//
// Places are written as the player sees them: "~/.openarena/baseoa" is in the
// fake home, "/usr/lib/openarena" below the fake root, anything else is relative
// to the temporary folder itself.
class FakeInstalls
{
public:
    bool isValid() const { return m_dir.isValid(); }
    // Leaves the folder behind for another program (the launch benchmark).
    void keep() { m_dir.setAutoRemove(false); }

    InstallPlaces places() const
    {
        InstallPlaces p;
        p.home = m_dir.path() + QStringLiteral("/home");
        p.root = m_dir.path() + QStringLiteral("/root");
        return p;
    }

    QString at(const QString &where) const
    {
        if (where.startsWith(u'~'))
            return QDir::cleanPath(places().home + where.mid(1));
        if (where.startsWith(u'/'))
            return QDir::cleanPath(places().root + where);
        return QDir::cleanPath(m_dir.path() + u'/' + where);
    }
    QStringList at(const QStringList &wheres) const
    {
        QStringList out;
        for (const QString &w : wheres)
            out << at(w);
        return out;
    }

    [[nodiscard]] bool folder(const QString &where) const { return QDir().mkpath(at(where)); }
    [[nodiscard]] bool folders(const QStringList &wheres) const
    {
        for (const QString &w : wheres) {
            if (!folder(w))
                return false;
        }
        return true;
    }

    [[nodiscard]] bool file(const QString &where, const QByteArray &bytes = {}) const
    {
        const QString path = at(where);
        QFile f(path);
        return QDir().mkpath(QFileInfo(path).absolutePath()) && f.open(QIODevice::WriteOnly) &&
               f.write(bytes) == bytes.size();
    }

    // A symbolic link at `where` to the folder or file `target`.
    [[nodiscard]] bool link(const QString &target, const QString &where) const
    {
        const QString path = at(where);
        return QDir().mkpath(QFileInfo(path).absolutePath()) && QFile::link(at(target), path);
    }

    // A Steam library at `where` holding the game folders `games` ("Quake/id1"),
    // each with an app manifest beside it as Steam keeps them.
    [[nodiscard]] bool steamLibrary(const QString &where, const QStringList &games) const
    {
        int app = 1000;
        for (const QString &game : games) {
            if (!folder(where + QStringLiteral("/steamapps/common/") + game) ||
                !file(where + QStringLiteral("/steamapps/appmanifest_%1.acf").arg(app++),
                      "\"AppState\"\n{\n\t\"installdir\"\t\t\"" +
                          game.section(u'/', 0, 0).toUtf8() + "\"\n}\n"))
                return false;
        }
        return folder(where + QStringLiteral("/steamapps"));
    }

    // A libraryfolders.vdf as Steam writes it since 2021, listing the libraries
    // (written as for at()), then `tail` appended as it is.
    QByteArray libraryFolders(const QStringList &libraries, const QByteArray &tail = {}) const
    {
        QByteArray vdf = "\"libraryfolders\"\n{\n";
        for (int i = 0; i < libraries.size(); ++i) {
            vdf += "\t\"" + QByteArray::number(i) + "\"\n\t{\n\t\t\"path\"\t\t\"" +
                   at(libraries[i]).toUtf8() + "\"\n\t\t\"label\"\t\t\"\"\n\t\t\"apps\"\n\t\t{\n" +
                   "\t\t\t\"2310\"\t\t\"123456\"\n\t\t}\n\t}\n";
        }
        return vdf + "}\n" + tail;
    }

    // Every client of the table at once, as a player who ran them all would have
    // it, and a Steam library of `steamGames` games that holds Steam's Quake and
    // Quake III Arena among them.
    [[nodiscard]] bool everyClient(int steamGames) const
    {
        const QStringList made = {
            "~/.q3a/baseq3",
            "~/.config/Quake3/baseq3",
            "~/.local/share/Quake3/baseq3",
            "/usr/lib/ioquake3/baseq3",
            "/usr/share/games/quake3/baseq3",
            "~/.var/app/org.ioquake3.ioquake3/data/q3a/baseq3",
            "~/.var/app/org.ioquake3.ioquake3/config/Quake3/baseq3",
            "~/.var/app/org.ioquake3.ioquake3/data/Quake3/baseq3",
            "~/.openarena/baseoa",
            "/usr/lib/openarena/baseoa",
            "/usr/share/games/openarena/baseoa",
            "~/.var/app/ws.openarena.OpenArena/.openarena/baseoa",
            "/var/lib/flatpak/app/ws.openarena.OpenArena/current/active/files/share/openarena/"
            "baseoa",
            "~/.ezquake",
            "~/.config/ezquake/ezquake",
            "~/.config/ezquake/qw",
            "/usr/share/games/quake/id1",
            "~/.var/app/io.github.ezQuake/.ezquake/id1",
            "~/.var/app/io.github.ezQuake/.ezquake/qw",
            "~/.quakespasm/id1",
            "~/.var/app/net.sourceforge.quakespasm.Quakespasm/data/id1",
            "~/.ironwail/id1",
            "~/.ironwail/.original/id1",
            "~/.ironwail/.rerelease/id1",
            "~/.darkplaces/id1",
            "~/.yq2/baseq2",
            "~/.var/app/org.yamagi.YamagiQ2/.yq2/baseq2",
            "~/.q2pro/baseq2",
            "/usr/local/share/q2pro/baseq2",
        };
        QStringList games = {"Quake 3 Arena/baseq3", "Quake/id1", "Quake/rerelease/id1"};
        for (int i = games.size(); i < steamGames; ++i)
            games << QStringLiteral("Game %1/data").arg(i);
        return folders(made) && link("/usr/share/games/quake/id1", "~/.config/ezquake/id1") &&
               file("/usr/lib/ioquake3/ioquake3") && file("/usr/games/quakespasm") &&
               file("/usr/games/darkplaces") && file("/usr/lib/games/ezquake/ezquake") &&
               file("~/.q3a/baseq3/q3config.cfg", "seta name \"player\"\n") &&
               steamLibrary("~/.local/share/Steam", games) &&
               link("~/.local/share/Steam", "~/.steam/steam") &&
               file("~/.local/share/Steam/steamapps/libraryfolders.vdf",
                    libraryFolders({"~/.local/share/Steam"}));
    }

private:
    QTemporaryDir m_dir;
};
