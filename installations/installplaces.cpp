#include "installplaces.h"

#include <QDir>

namespace {

// The clients read these variables only when they are absolute; a relative one
// is as good as unset (ioquake3 and Yamagi Quake II both test for an empty value
// only, but a relative folder would land wherever the game was started).
QString absoluteOrEmpty(const QByteArray &value)
{
    const QString path = QString::fromLocal8Bit(value);
    return QDir::isAbsolutePath(path) ? QDir::cleanPath(path) : QString();
}

} // namespace

InstallPlaces InstallPlaces::fromEnvironment()
{
    InstallPlaces places;
    places.home = QDir::homePath();
    places.xdgConfigHome = absoluteOrEmpty(qgetenv("XDG_CONFIG_HOME"));
    places.xdgDataHome = absoluteOrEmpty(qgetenv("XDG_DATA_HOME"));
    return places;
}

QString InstallPlaces::configHome() const
{
    return xdgConfigHome.isEmpty() ? home + QStringLiteral("/.config") : xdgConfigHome;
}

QString InstallPlaces::dataHome() const
{
    return xdgDataHome.isEmpty() ? home + QStringLiteral("/.local/share") : xdgDataHome;
}

QString InstallPlaces::system(const QString &absolute) const
{
    return QDir::cleanPath(root + absolute);
}
