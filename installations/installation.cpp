#include "installation.h"

#include <QFileInfo>

namespace {

QString tilde(const QString &path, const QString &playerHome)
{
    if (!playerHome.isEmpty() && (path == playerHome || path.startsWith(playerHome + u'/')))
        return u'~' + path.mid(playerHome.size());
    return path;
}

} // namespace

ConfigureField Installation::field() const
{
    switch (m_game) {
    case Game::Quake:
    case Game::QuakeWorld:
        return ConfigureField::Quake;
    case Game::QuakeIII:
    case Game::OpenArena:
        return ConfigureField::QuakeIII;
    case Game::QuakeII:
        break;
    }
    return ConfigureField::None;
}

QString Installation::autoexecFile() const
{
    // Every client here execs autoexec.cfg through its search path, where the
    // home game folder comes first.
    return hasHome() ? m_homeFolder + QStringLiteral("/autoexec.cfg") : QString();
}

QByteArray Installation::nameCommand() const
{
    // Quake III engines keep the name only when the cvar is archived; the others
    // read "name" as a command (Quakespasm stores it as _cl_name but its "name"
    // command is what sets it: Quake/host_cmd.c Host_Name_f) or as a cvar.
    switch (m_game) {
    case Game::QuakeIII:
    case Game::OpenArena:
        return QByteArrayLiteral("seta name");
    case Game::Quake:
    case Game::QuakeWorld:
    case Game::QuakeII:
        break;
    }
    return QByteArrayLiteral("name");
}

QStringList Installation::fontFolders() const
{
    QStringList folders;
    if (m_homeExists)
        folders << m_homeFolder;
    for (const QString &data : m_dataFolders) {
        if (!folders.contains(data))
            folders << data;
    }
    return folders;
}

QString Installation::describe(const QString &playerHome) const
{
    QStringList halves;
    if (hasHome())
        halves << QStringLiteral("config ") +
                      tilde(QFileInfo(m_configFile).absolutePath(), playerHome);
    if (!m_dataFolders.isEmpty())
        halves << QStringLiteral("data ") + tilde(m_dataFolders.first(), playerHome);
    else
        halves << QStringLiteral("no game data found");
    if (!hasHome())
        halves << QStringLiteral("no config folder known");
    return m_name + QStringLiteral(" \u2014 ") + halves.join(QStringLiteral(", "));
}
