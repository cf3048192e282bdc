#include "scriptwriter.h"

#include "glyphtables.h"
#include "namecomposer.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace
{

constexpr char kLineEnd[] = "\r\n";

ScriptWriter::Result failure(const QString &path, const QString &reason)
{
    return {false, false, QStringLiteral("Could not save to %1:\r%2").arg(path, reason)};
}

} // namespace

namespace ScriptWriter
{

QByteArray tail()
{
    return QByteArray(" // GLYPHSMITH ") + GlyphTables::kVersion;
}

QByteArray nameLine(const NameComposer &composer)
{
    return composer.cmdPrefix() + composer.rawName() + composer.cmdSuffix();
}

Result appendLine(const QString &path, const QByteArray &line, Tail tailRule)
{
    const QFileInfo info(path);
    // A dangling link also counts as existing: writing through it would create a
    // file somewhere the user never chose.
    const bool existed = info.exists() || info.isSymLink();
    QByteArray previous;
    if (existed) {
        if (info.isDir())
            return failure(path, QStringLiteral("It is a folder, not a file."));
        QFile in(path);
        if (!in.open(QIODevice::ReadOnly))
            return failure(path, in.errorString());
        previous = in.readAll();
        if (in.error() != QFileDevice::NoError)
            return failure(path, in.errorString());
    }

    QByteArray content = previous + kLineEnd + line;
    if (tailRule == Tail::Always || !existed)
        content += tail();
    content += kLineEnd;

    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return failure(path, out.errorString());
    if (out.write(content) != content.size()) {
        const QString reason = out.errorString();
        out.cancelWriting();
        return failure(path, reason);
    }
    if (!out.commit())
        return failure(path, out.errorString());
    return {true, !existed, {}};
}

} // namespace ScriptWriter
