#include "glyphboxlauncher.h"

#include "apppaths.h"

#include <QFileInfo>
#include <QProcess>

namespace {

GlyphboxLauncher::Result failure(const QString &path, const QString &reason)
{
    return {false, QStringLiteral("Glyphbox could not be started.\r%1\r%2").arg(path, reason)};
}

} // namespace

QString GlyphboxLauncher::programPath()
{
    return AppPaths::dataFile(QStringLiteral("glyphbox"));
}

GlyphboxLauncher::Result GlyphboxLauncher::launch()
{
    const QString path = programPath();
    const QFileInfo info(path);
    // The process layer's own errors are terse; the common cases get plain words.
    if (!info.exists())
        return failure(path, QStringLiteral("The file does not exist."));
    if (info.isDir())
        return failure(path, QStringLiteral("This is a folder, not a program."));
    if (!info.isExecutable())
        return failure(path, QStringLiteral("The file is not marked as executable."));

    QProcess process;
    process.setProgram(path);
    process.setWorkingDirectory(AppPaths::programFolder());
    // The file passed every check above, so the system refused its content.
    if (!process.startDetached())
        return failure(path, QStringLiteral("The file could not be run as a program (%1).")
                                 .arg(process.errorString()));
    return {true, {}};
}
