// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileerror.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>

class AtomicFile;

// A name that survives the game: the name line goes into a script of our own,
// glyphsmith.cfg, in the game folder of the installation's home (~/.q3a/baseq3,
// ~/.openarena/baseoa...), and autoexec.cfg there runs it. Every client reads
// autoexec.cfg after the config it rewrites itself, and none of them writes
// autoexec.cfg, so a name set there stays whatever the game saves.
//
// glyphsmith.cfg is ours: each save replaces it as a whole. autoexec.cfg is the
// player's: a save adds one line that runs our script, only when no line runs it
// yet, and leaves every other byte as it was.
//
// The line we add is known by its exact bytes, which also say what else we did:
//   exec glyphsmith.cfg // added by Glyphsmith
//   exec glyphsmith.cfg // added by Glyphsmith, which ended the line above
//   exec glyphsmith.cfg // added by Glyphsmith, which created this file
// The second is added to a file whose last line had no line end (we gave it
// one); the third to a file that did not exist. undo() removes such a line and
// what it says we did, so that autoexec.cfg is again the file it was, byte for
// byte, whether or not it existed before. A line end of ours follows the file's
// own ("\r\n" when its first line ends so, else "\n").
namespace GameScript {

inline constexpr char kScriptName[] = "glyphsmith.cfg";
inline constexpr char kAutoexecName[] = "autoexec.cfg";

// The bytes of glyphsmith.cfg for a name line (given without a line end, in the
// client's own syntax, e.g. `seta name "..."`).
QByteArray scriptBytes(const QByteArray &nameLine);

// Whether a script runs glyphsmith.cfg. Only what runs it in every client
// counts: `exec glyphsmith.cfg` as a command of its own (the command in any
// case, the file name quoted or not, among `;`-separated commands, a comment
// after it, CR LF or LF). The file name is compared exactly, as the games'
// file systems on Linux do. Commented-out lines (`//`, and for ioquake3
// `/* ... */` across lines) do not run it, nor does anything after a zero byte,
// where the games stop reading. When in doubt it says no: running our script
// twice does no harm, not running it loses the name.
bool runsScript(QByteArrayView script);

enum class AutoexecChange {
    AlreadyRuns, // a line of the file ran glyphsmith.cfg already: the file is untouched
    Added,       // our line was added to the file
    Created,     // the file did not exist, and now holds our line
};

struct Saved
{
    // Nothing was written, unless `notUndone` says otherwise.
    FileError error;
    // After a failed write of glyphsmith.cfg: why autoexec.cfg could not be set
    // back; it then runs glyphsmith.cfg all the same (as its change says).
    FileError notUndone;
    QString scriptPath;   // glyphsmith.cfg
    QString autoexecPath; // autoexec.cfg
    AutoexecChange autoexec = AutoexecChange::AlreadyRuns;
    bool scriptReplaced = false; // glyphsmith.cfg existed, with an earlier name
};

// Writes glyphsmith.cfg in `folder` and makes autoexec.cfg there run it; all or
// nothing: when one write fails, both files stay as they were. Refused before
// anything is written: a `folder` that is missing or not a folder, a
// glyphsmith.cfg or autoexec.cfg that is not a regular file (AtomicFile's
// rule), a name line holding a line end or a zero byte (it would run the rest
// as commands), and an autoexec.cfg where a line added at the end could never
// run (after a zero byte, or inside a `/*` comment that does not end).
Saved save(const QString &folder, const QByteArray &nameLine);

// glyphsmith.cfg in `folder` for `nameLine`, written into its temporary under
// its lock, checked as save() checks it; `prepared` is then committed by the
// caller (AtomicFile::commit()), or dropped to leave the old file as it was.
// For writers that pair it with another file (XQF's config).
FileError prepareScript(const QString &folder, const QByteArray &nameLine,
                        std::unique_ptr<AtomicFile> *prepared);

enum class Removal {
    Removed,     // our line is gone: the file is as it was before the save
    FileRemoved, // we had created the file; it is gone again
    NotOurs,     // the file runs glyphsmith.cfg by a line of the player's own: untouched
    NoLine,      // nothing in the file (or no file) runs glyphsmith.cfg: untouched
};

struct Undone
{
    FileError error; // nothing was changed
    Removal removal = Removal::NoLine;
    QString autoexecPath;
};

// Takes our line out of autoexec.cfg in `folder` again (every copy of it),
// with the line end above it or the file itself where the line says we added
// them. glyphsmith.cfg stays: another launcher (XQF) may name it too.
Undone undo(const QString &folder);

} // namespace GameScript
