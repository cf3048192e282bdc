#include "scriptwriter.h"

#include "atomicfile.h"
#include "glyphtables.h"
#include "namecomposer.h"
#include "textfile.h"

namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr int kLockTimeoutMs = 5000;
constexpr qsizetype kChunk = 64 * 1024;

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

FileError appendLine(const QString &path, const QByteArray &line, Tail tailRule, bool *created,
                     std::unique_ptr<AtomicFile> *kept)
{
    auto file = std::make_unique<AtomicFile>(path);
    if (FileError begun = file->begin(kLockTimeoutMs); !begun.ok())
        return begun;
    TextFile::Source previous;
    if (FileError opened = previous.open(file->target(), kMaxFileSize); !opened.ok())
        return {opened.kind(), path, opened.detail()};

    QByteArray chunk;
    for (;;) {
        chunk.resize(kChunk);
        if (FileError read = previous.read(chunk); !read.ok())
            return {read.kind(), path, read.detail()};
        if (chunk.isEmpty())
            break;
        if (FileError written = file->write(chunk); !written.ok())
            return written;
    }
    QByteArray added = kLineEnd + line;
    if (tailRule == Tail::Always || !file->existed())
        added += tail();
    added += kLineEnd;
    if (FileError written = file->write(added); !written.ok())
        return written;
    if (FileError committed = file->commit(kept != nullptr); !committed.ok())
        return committed;
    if (created)
        *created = !file->existed();
    if (kept)
        *kept = std::move(file);
    return {};
}

} // namespace ScriptWriter
