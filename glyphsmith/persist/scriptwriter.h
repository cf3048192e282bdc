#pragma once

#include "fileerror.h"

#include <QByteArray>
#include <QString>
#include <memory>

class AtomicFile;
class NameComposer;

// Adds a name line to a game's configuration script. The file becomes, byte for
// byte: its previous content, CR LF, the line, CR LF. It is replaced atomically
// (AtomicFile: written beside it, then renamed over it, keeping its permissions),
// so a failed write leaves the old file exactly as it was. The previous content
// is copied in pieces, so a save takes the same little memory at any file size.
namespace ScriptWriter {

// Far beyond any script a game reads; a larger file is refused untouched.
inline constexpr qint64 kMaxFileSize = qint64(1) << 30;

// " // GLYPHSMITH v6.1": added behind the name line by Save Name, and by QuickSave
// when it creates the file.
QByteArray tail();

// The framing's prefix, the raw name rebuilt from the slot texts, and the suffix.
QByteArray nameLine(const NameComposer &composer);

enum class Tail {
    Always,      // the line always carries tail()
    WhenCreated, // only when the file did not exist before
};

// `line` comes without the tail and without a line end. A file that exists but
// cannot be read (a folder, no permission) is refused untouched. `created` tells
// whether the file did not exist before (on success). When `kept` is given, the
// write is handed over revertible (see AtomicFile::commit()).
FileError appendLine(const QString &path, const QByteArray &line, Tail tail,
                     bool *created = nullptr, std::unique_ptr<AtomicFile> *kept = nullptr);

} // namespace ScriptWriter
