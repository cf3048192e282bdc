// SPDX-License-Identifier: GPL-3.0-or-later
#include "gamescript.h"

#include "atomicfile.h"
#include "textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <cerrno>
#include <unistd.h>

namespace {

using Kind = FileError::Kind;

constexpr int kLockTimeoutMs = 5000;
// ioquake3 takes at most 128 KB of script text at once; this is far beyond any
// autoexec.cfg that a game can run.
constexpr qint64 kMaxAutoexecSize = qint64(16) << 20;

constexpr char kAdded[] = "exec glyphsmith.cfg // added by Glyphsmith";
constexpr char kEndedAbove[] =
    "exec glyphsmith.cfg // added by Glyphsmith, which ended the line above";
constexpr char kCreated[] = "exec glyphsmith.cfg // added by Glyphsmith, which created this file";

// Our scripts are new files on Linux, where the games write "\n" themselves.
constexpr char kNewLineEnd[] = "\n";

QString inFolder(const QString &folder, const char *name)
{
    return QDir(folder).filePath(QLatin1String(name));
}

// What a script does, as far as it matters here.
struct Scan
{
    bool runs = false;        // a command runs glyphsmith.cfg
    bool zero = false;        // a zero byte: the games read nothing after it
    bool openComment = false; // it ends inside a `/*` comment
};

bool isBlank(char c)
{
    // Only what every tokenizer skips; bytes 128-255 count as blanks in some of
    // them and not in others, so a command holding one is never taken as ours.
    return c > 0 && c <= ' ';
}

bool isExecOfScript(QByteArrayView command)
{
    QList<QByteArrayView> tokens;
    qsizetype i = 0;
    while (i < command.size()) {
        if (isBlank(command[i])) {
            ++i;
            continue;
        }
        qsizetype start = i;
        qsizetype end;
        if (command[i] == '"') {
            start = ++i;
            while (i < command.size() && command[i] != '"')
                ++i;
            end = i;
            if (i < command.size())
                ++i;
        } else {
            // A word ends only at a blank: Quake's tokenizer keeps a quote or `//`
            // inside a word, ioquake3's ends the word there. Either way such a
            // word is not the plain file name.
            while (i < command.size() && !isBlank(command[i]))
                ++i;
            end = i;
        }
        tokens.append(command.sliced(start, end - start));
        if (tokens.size() > 2)
            return false; // exec with more arguments only prints its usage
    }
    return tokens.size() == 2 && tokens[0].compare("exec", Qt::CaseInsensitive) == 0 &&
           tokens[1] == QByteArrayView(GameScript::kScriptName);
}

Scan scan(QByteArrayView text)
{
    Scan result;
    if (const qsizetype zero = text.indexOf('\0'); zero >= 0) {
        result.zero = true;
        text = text.first(zero);
    }
    bool inStarComment = false;
    TextFile::Lines lines(text);
    TextFile::Lines::Line line;
    while (lines.next(line)) {
        const QByteArrayView l = lines.text(line);
        if (inStarComment) {
            // The rest of the line after the comment runs in ioquake3 only: not ours.
            inStarComment = l.indexOf("*/") < 0;
            continue;
        }
        bool quoted = false;
        qsizetype commandStart = 0;
        for (qsizetype i = 0; i <= l.size(); ++i) {
            const bool end = i == l.size();
            const char c = end ? '\0' : l[i];
            if (!end && c == '"') {
                quoted = !quoted;
                continue;
            }
            if (!end && quoted)
                continue;
            const bool comment =
                !end && c == '/' && i + 1 < l.size() && (l[i + 1] == '/' || l[i + 1] == '*');
            if (!end && c != ';' && !comment)
                continue;
            const QByteArrayView command = l.sliced(commandStart, i - commandStart);
            // A comment straight after a word is part of that word for Quake.
            const bool glued = comment && i > commandStart && !isBlank(l[i - 1]) && l[i - 1] != '"';
            if (!glued && isExecOfScript(command))
                result.runs = true;
            if (comment) {
                if (l[i + 1] == '*')
                    inStarComment = l.indexOf("*/", i + 2) < 0;
                break;
            }
            commandStart = i + 1;
        }
    }
    result.openComment = inStarComment;
    return result;
}

QByteArray lineEndOf(QByteArrayView text)
{
    const qsizetype nl = text.indexOf('\n');
    return nl > 0 && text[nl - 1] == '\r' ? QByteArray("\r\n") : QByteArray(kNewLineEnd);
}

// The bytes to add at the end of autoexec.cfg so that it runs our script.
QByteArray addition(QByteArrayView current, bool exists)
{
    if (!exists)
        return kCreated + QByteArray(kNewLineEnd);
    const QByteArray end = lineEndOf(current);
    if (current.isEmpty() || current.endsWith('\n'))
        return kAdded + end;
    return end + kEndedAbove + end;
}

// `current` without our lines, and whether one of them says we created the file.
struct Removed
{
    QByteArray text;
    int lines = 0;
    bool created = false;
};

Removed withoutOurLines(QByteArrayView current)
{
    Removed result;
    TextFile::Lines lines(current);
    TextFile::Lines::Line line;
    qsizetype kept = 0; // current[kept, line.start) is copied when a line of ours comes
    while (lines.next(line)) {
        const QByteArrayView text = lines.text(line);
        const bool ended = text == QByteArrayView(kEndedAbove);
        const bool created = text == QByteArrayView(kCreated);
        if (!ended && !created && text != QByteArrayView(kAdded))
            continue;
        qsizetype start = line.start;
        // The line end above is ours only while nothing follows our line.
        if (ended && line.next == current.size() && start > kept) {
            const QByteArrayView ownEnd = current.sliced(line.end, line.next - line.end);
            const QByteArrayView before = current.sliced(kept, start - kept);
            if (ownEnd.isEmpty())
                start -= before.endsWith("\r\n") ? 2 : before.endsWith('\n') ? 1 : 0;
            else if (before.endsWith(ownEnd))
                start -= ownEnd.size();
        }
        result.text += current.sliced(kept, start - kept);
        kept = line.next;
        ++result.lines;
        result.created = result.created || created;
    }
    result.text += current.sliced(kept);
    return result;
}

FileError checkFolder(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.exists())
        return {Kind::NotFound, folder, QStringLiteral("The folder does not exist.")};
    if (!info.isDir())
        return {Kind::NotAFile, folder, QStringLiteral("It is not a folder.")};
    return {};
}

bool hasLineEnd(QByteArrayView line)
{
    return line.contains('\n') || line.contains('\r') || line.contains('\0');
}

} // namespace

namespace GameScript {

QByteArray scriptBytes(const QByteArray &nameLine)
{
    return QByteArray("// Glyphsmith writes this file; each save replaces it.") + kNewLineEnd +
           nameLine + kNewLineEnd;
}

bool runsScript(QByteArrayView script)
{
    return scan(script).runs;
}

FileError prepareScript(const QString &folder, const QByteArray &nameLine,
                        std::unique_ptr<AtomicFile> *prepared)
{
    const QString path = inFolder(folder, kScriptName);
    if (hasLineEnd(nameLine))
        return {Kind::Refused, path,
                QStringLiteral("The name line holds a line end or a zero byte, which would run "
                               "the rest of it as commands.")};
    if (FileError error = checkFolder(folder); !error.ok())
        return error;
    auto file = std::make_unique<AtomicFile>(path);
    if (FileError begun = file->begin(kLockTimeoutMs); !begun.ok())
        return begun;
    if (FileError written = file->write(scriptBytes(nameLine)); !written.ok())
        return written;
    *prepared = std::move(file);
    return {};
}

Saved save(const QString &folder, const QByteArray &nameLine)
{
    Saved saved;
    saved.scriptPath = inFolder(folder, kScriptName);
    saved.autoexecPath = inFolder(folder, kAutoexecName);

    std::unique_ptr<AtomicFile> script;
    if (saved.error = prepareScript(folder, nameLine, &script); !saved.error.ok())
        return saved;
    saved.scriptReplaced = script->existed();

    // A file that runs our script already is not written, nor locked; one that
    // needs our line is read again under its lock.
    TextFile::Contents current = TextFile::read(saved.autoexecPath, kMaxAutoexecSize);
    Scan found = scan(current.data);
    AtomicFile autoexec(saved.autoexecPath);
    if (current.error.ok() && !found.runs) {
        if (saved.error = autoexec.begin(kLockTimeoutMs); !saved.error.ok())
            return saved;
        current = TextFile::read(autoexec.target(), kMaxAutoexecSize);
        found = scan(current.data);
    }
    if (!current.error.ok()) {
        saved.error = {current.error.kind(), saved.autoexecPath, current.error.detail()};
        return saved;
    }
    if (!found.runs && found.zero) {
        saved.error = {Kind::Refused, saved.autoexecPath,
                       QStringLiteral("It holds a zero byte, after which the game reads nothing: "
                                      "a line added at its end would never run.")};
        return saved;
    }
    if (!found.runs && found.openComment) {
        saved.error = {Kind::Refused, saved.autoexecPath,
                       QStringLiteral("It ends inside a /* comment: a line added at its end "
                                      "would never run.")};
        return saved;
    }

    bool changed = false;
    if (!found.runs) {
        const QByteArray added = addition(current.data, current.exists);
        for (const QByteArrayView piece : {QByteArrayView(current.data), QByteArrayView(added)}) {
            if (saved.error = autoexec.write(piece); !saved.error.ok())
                return saved;
        }
        if (saved.error = autoexec.commit(true); !saved.error.ok())
            return saved;
        changed = true;
        saved.autoexec = current.exists ? AutoexecChange::Added : AutoexecChange::Created;
    }

    if (saved.error = script->commit(); !saved.error.ok()) {
        if (changed)
            saved.notUndone = autoexec.revert();
        if (saved.notUndone.ok())
            saved.autoexec = AutoexecChange::AlreadyRuns;
    }
    return saved;
}

Undone undo(const QString &folder)
{
    Undone undone;
    undone.autoexecPath = inFolder(folder, kAutoexecName);
    if (undone.error = checkFolder(folder); !undone.error.ok())
        return undone;
    // Nothing of ours in it: not locked, not written.
    TextFile::Contents current = TextFile::read(undone.autoexecPath, kMaxAutoexecSize);
    AtomicFile file(undone.autoexecPath);
    if (current.error.ok() && withoutOurLines(current.data).lines > 0) {
        if (undone.error = file.begin(kLockTimeoutMs); !undone.error.ok())
            return undone;
        current = TextFile::read(file.target(), kMaxAutoexecSize);
    }
    if (!current.error.ok()) {
        undone.error = {current.error.kind(), undone.autoexecPath, current.error.detail()};
        return undone;
    }
    const Removed removed = withoutOurLines(current.data);
    if (removed.lines == 0) {
        undone.removal = scan(current.data).runs ? Removal::NotOurs : Removal::NoLine;
        return undone;
    }
    if (removed.created && removed.text.isEmpty()) {
        // Under the file's lock, so no other writer of ours is in the middle of it.
        if (::unlink(QFile::encodeName(file.target()).constData()) != 0)
            undone.error = FileError::fromErrno(Kind::WriteError, undone.autoexecPath, errno);
        else
            undone.removal = Removal::FileRemoved;
        return undone;
    }
    if (undone.error = file.write(removed.text); !undone.error.ok())
        return undone;
    if (undone.error = file.commit(); !undone.error.ok())
        return undone;
    undone.removal = Removal::Removed;
    return undone;
}

} // namespace GameScript
