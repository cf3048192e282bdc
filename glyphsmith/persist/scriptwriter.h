#pragma once

#include <QByteArray>
#include <QString>

class NameComposer;

// Adds a name line to a game's configuration script. The file becomes, byte for
// byte: its previous content, CR LF, the line, CR LF. It is replaced atomically
// (written beside it, then renamed over it, keeping its permissions), so a failed
// write leaves the old file exactly as it was.
namespace ScriptWriter {

// " // GLYPHSMITH v6.1": added behind the name line by Save Name, and by QuickSave
// when it creates the file.
QByteArray tail();

// The framing's prefix, the raw name rebuilt from the slot texts, and the suffix.
QByteArray nameLine(const NameComposer &composer);

enum class Tail {
    Always,      // the line always carries tail()
    WhenCreated, // only when the file did not exist before
};

struct Result
{
    bool ok = false;
    bool created = false; // the file did not exist before (meaningful when ok)
    QString message;      // names the file and the reason on failure
};

// `line` comes without the tail and without a line end. A file that exists but
// cannot be read (a folder, no permission) is refused untouched.
Result appendLine(const QString &path, const QByteArray &line, Tail tail);

} // namespace ScriptWriter
