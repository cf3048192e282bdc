#include "installfinder.h"

#include "clienttable.h"
#include "installplaces.h"
#include "steamlibraries.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

using ClientTable::Place;
using ClientTable::Row;
using ClientTable::Under;

namespace {

bool isDir(const QString &path)
{
    return QFileInfo(path).isDir();
}

bool usesSteam(const Row &row)
{
    return std::any_of(row.data.begin(), row.data.end(),
                       [](const Place &p) { return p.under == Under::Steam; });
}

// What one row has on this machine, with one Steam library (or none).
struct Look
{
    bool present = false; // its home, one of its own data folders or its program exists
    QString clientFolder;
    QString homeFolder;
    QString config;
    QStringList data;
    QStringList sameAs;
};

class Looker
{
public:
    Looker(const InstallPlaces &places, const QString &library)
        : m_places(places), m_library(library)
    {}

    Look look(const Row &row) const
    {
        Look out;
        for (const Place &home : row.homes) {
            const QString folder = path(home);
            if (folder.isEmpty())
                continue;
            out.clientFolder = folder;
            if (isDir(folder))
                break;
        }
        // The client picks its folder by the folder itself (Yamagi Quake II's ~/.yq2),
        // but is there only when its game folder is: Ironwail makes ~/.ironwail
        // even when it then plays Steam's Quake from ~/.ironwail/.original.
        if (!out.clientFolder.isEmpty()) {
            out.homeFolder =
                row.homeGame.isEmpty() ? out.clientFolder : out.clientFolder + u'/' + row.homeGame;
            out.config = chooseConfig(row.configs, out.homeFolder);
            out.present = isDir(out.homeFolder);
        }
        for (const Place &data : row.data) {
            const QString folder = path(data);
            if (!folder.isEmpty() && isDir(folder)) {
                out.data << folder;
                out.present = out.present || !data.shared;
            }
        }
        for (const Place &alias : row.sameAs) {
            if (const QString folder = path(alias); isDir(folder))
                out.sameAs << folder;
        }
        for (const Place &program : row.program)
            out.present = out.present || QFileInfo::exists(path(program));
        return out;
    }

private:
    // The path of a place; empty for a Steam place without a library.
    QString path(const Place &place, const QString &homeFolder = {}) const
    {
        QString p;
        switch (place.under) {
        case Under::Home:
            p = m_places.home + u'/' + place.path;
            break;
        case Under::ConfigHome:
            p = m_places.configHome() + u'/' + place.path;
            break;
        case Under::DataHome:
            p = m_places.dataHome() + u'/' + place.path;
            break;
        case Under::System:
            p = m_places.system(place.path);
            break;
        case Under::Steam:
            if (!m_library.isEmpty())
                p = m_library + QStringLiteral("/steamapps/common/") + place.path;
            break;
        case Under::HomeGame:
            p = homeFolder + u'/' + place.path;
            break;
        }
        return p.isEmpty() ? p : QDir::cleanPath(p);
    }

    // The first config the client would read that exists, else the first.
    QString chooseConfig(const QList<Place> &configs, const QString &homeFolder) const
    {
        QString first;
        for (const Place &file : configs) {
            const QString candidate = path(file, homeFolder);
            if (QFileInfo(candidate).isFile())
                return candidate;
            if (first.isEmpty())
                first = candidate;
        }
        return first;
    }

    const InstallPlaces &m_places;
    QString m_library;
};

// The same folder however it was written: links, "..", a trailing slash. A
// folder that does not exist yet is compared as written, cleaned.
QString sameFolder(const QString &folder)
{
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    const QString canonical = QFileInfo(clean).canonicalFilePath();
    return canonical.isEmpty() ? clean : canonical;
}

int homeRank(const Installation &inst)
{
    return inst.homeExists() ? 0 : inst.hasHome() ? 1 : 2;
}

} // namespace

QList<Installation> InstallFinder::find(const InstallPlaces &places)
{
    const QStringList libraries = SteamLibraries::find(places);
    QList<Installation> found;
    auto add = [&found](const Row &row, const Look &look) {
        Installation inst;
        inst.m_key = row.key;
        inst.m_name = row.name;
        inst.m_game = row.game;
        inst.m_rewrite = row.rewrite;
        inst.m_dataFolders = look.data;
        inst.m_homeFolder = look.homeFolder;
        inst.m_homeExists = !look.homeFolder.isEmpty() && isDir(look.homeFolder);
        inst.m_configFile = look.config;
        inst.m_clientFolder = look.clientFolder;
        inst.m_dataSameAs = look.sameAs;
        found << inst;
    };
    for (const Row &row : ClientTable::rows()) {
        if (!usesSteam(row)) {
            if (const Look look = Looker(places, {}).look(row); look.present)
                add(row, look);
            continue;
        }
        bool inLibrary = false;
        for (const QString &library : libraries) {
            const Look look = Looker(places, library).look(row);
            if (look.present && !look.data.isEmpty()) {
                add(row, look);
                inLibrary = true;
            }
        }
        // A home left behind by a Steam game that no library holds now.
        if (const Look look = Looker(places, {}).look(row); !inLibrary && look.present)
            add(row, look);
    }
    return found;
}

QList<FolderMatch> InstallFinder::recognise(const QString &folder, const InstallPlaces &places)
{
    return recognise(folder, find(places));
}

QList<FolderMatch> InstallFinder::recognise(const QString &folder, const QList<Installation> &found)
{
    if (folder.trimmed().isEmpty())
        return {};
    const QString target = sameFolder(folder);
    auto names = [&target](const QStringList &folders) {
        return std::any_of(folders.begin(), folders.end(),
                           [&target](const QString &f) { return sameFolder(f) == target; });
    };
    QList<FolderMatch> homes, data;
    for (const Installation &inst : found) {
        if (inst.hasHome() && names({inst.m_homeFolder, inst.m_clientFolder})) {
            homes << FolderMatch{inst, FolderHalf::Home};
            continue;
        }
        // The data folder, another name of it, or the base folder it sits in.
        QStringList dataNames = inst.m_dataFolders + inst.m_dataSameAs;
        for (const QString &f : inst.m_dataFolders + inst.m_dataSameAs)
            dataNames << QFileInfo(f).absolutePath();
        if (names(dataNames))
            data << FolderMatch{inst, FolderHalf::Data};
    }
    std::stable_sort(data.begin(), data.end(), [](const FolderMatch &a, const FolderMatch &b) {
        return homeRank(a.installation) < homeRank(b.installation);
    });
    return homes + data;
}
