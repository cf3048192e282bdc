#include "apppaths.h"

#include "atomicfile.h"
#include "textfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

constexpr qint64 kMaxShippedSize = 1024 * 1024;
constexpr int kLockTimeoutMs = 5000;

QString &overrideFolder()
{
    static QString folder;
    return folder;
}

} // namespace

namespace AppPaths {

QString programFolder()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    const QString fromEnv = qEnvironmentVariable("GLYPH_PROGRAM_DIR");
    if (!fromEnv.isEmpty())
        return QDir::cleanPath(fromEnv);
    if (QCoreApplication::instance())
        return QDir::cleanPath(QCoreApplication::applicationDirPath());
    return QDir::currentPath();
}

void setProgramFolder(const QString &folder)
{
    overrideFolder() = folder.isEmpty() ? QString() : QDir::cleanPath(folder);
}

QString dataFile(const QString &relative)
{
    return programFolder() + QLatin1Char('/') + relative;
}

QString dialogStartFolder()
{
    const QString winDir = qEnvironmentVariable("WinDir");
    if (!winDir.isEmpty())
        return winDir;
    return QDir::homePath();
}

QString configFolder()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QLatin1String("/.config");
    return base + QLatin1String("/glyphsmith");
}

QString settingsFile()
{
    const QString shipped = dataFile(QStringLiteral("glyph.ini"));
    const QFileInfo folder(programFolder());
    const QFileInfo file(shipped);
    // Writes go through a lock file and a temporary file beside the target, so the
    // folder must be writable even when the file itself is. An installed copy is
    // shared by every user and owned by the package, even where one of them (root)
    // could write it: it says so with a marker file.
    const bool installed = QFileInfo::exists(dataFile(QLatin1String(kInstalledMarker)));
    if (!installed && folder.isWritable() && (!file.exists() || file.isWritable()))
        return shipped;

    const QString own = configFolder() + QLatin1String("/glyph.ini");
    if (!QFile::exists(own)) {
        QDir().mkpath(configFolder());
        // Copied like every other write, whole or not at all; without a copy the
        // first write starts an empty file.
        const TextFile::Contents contents = TextFile::read(shipped, kMaxShippedSize);
        AtomicFile copy(own);
        if (contents.exists && contents.error.ok() && copy.begin(kLockTimeoutMs).ok() &&
            copy.write(contents.data).ok())
            (void)copy.commit();
    }
    return own;
}

QString keyStoreFile()
{
    return configFolder() + QLatin1String("/registry.reg");
}

} // namespace AppPaths
