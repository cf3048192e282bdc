#include "scriptwriter.h"

#include "glyphtables.h"
#include "namecomposer.h"
#include "textfile.h"

#include <QFileInfo>

namespace {

constexpr char kLineEnd[] = "\r\n";

ScriptWriter::Result failure(const QString &path, const QString &reason)
{
    return {false, false, QStringLiteral("Could not save to %1:\r%2").arg(path, reason)};
}

} // namespace

namespace ScriptWriter {

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
    const TextFile::Contents previous = TextFile::read(path);
    if (!previous.ok)
        return failure(path, previous.error);
    if (existed && !previous.exists)
        return failure(path, QStringLiteral("It is a link to a file that does not exist."));

    QByteArray content = previous.data + kLineEnd + line;
    if (tailRule == Tail::Always || !existed)
        content += tail();
    content += kLineEnd;

    const QString reason = TextFile::writeAtomically(path, content);
    if (!reason.isEmpty())
        return failure(path, reason);
    return {true, !existed, {}};
}

} // namespace ScriptWriter
