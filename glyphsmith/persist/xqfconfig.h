// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileerror.h"
#include "textfile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// XQF, the game browser in Debian, runs a "Custom CFG" of each game when it
// starts the game: for Quake, QuakeWorld and Quake II an `exec "<file>"` in the
// frontend.cfg it writes and runs, for the Quake III family `+exec <file>` on
// the command line, both after its own name line. Saving the name there means a
// glyphsmith.cfg where the game finds it, and `custom cfg=glyphsmith.cfg` in the
// game's section of XQF's config file.
//
// That file (~/.config/xqf/config) is ini-like: "[section]" lines, "key=value"
// lines, values with \n, \r and \\ escaped. XQF reads it with fgets() into 8 KB,
// so a longer line reads as several; skips pieces of one byte or less; drops
// one "\n" and then one "\r" at the end; takes a line starting with "[" and
// holding "]" as a section header (the rest of that line ignored), any other
// line holding "=" as a key up to the first "=" (blanks kept), ignores keys
// before the first header; compares section and key names ignoring ASCII case,
// merges a section that appears twice, and keeps the last value of a key in
// the place where it first appeared. It rewrites the whole file when its own
// settings change, from what it read: an XQF that runs while we save would put
// its own copy back, so the caller should say to close it first.
namespace XqfConfig {

// The games whose section we write, as XQF's games.xml knows them.
enum class Game { Quake, QuakeWorld, Quake2, Quake3, OpenArena };

struct GameRow
{
    Game game;
    const char *id; // the section is "Game: <id>"
    // The game's home as XQF has it (`~` for the user's home), or nullptr.
    const char *home;
    // The folders XQF lists custom configs from, below the game's directory and
    // below its home; the second may be nullptr.
    const char *listed[2];
    // The folder the game runs the file from: where XQF puts frontend.cfg for the
    // Quake games, the game's own main folder for the Quake III family. XQF lists
    // OpenArena's configs from baseq3, which OpenArena never reads: the file goes
    // to baseoa, and XQF passes its name all the same.
    const char *gameFolder;
};

const GameRow &row(Game game);
QByteArray sectionName(Game game); // "Game: Q3S"

inline constexpr char kCustomCfgKey[] = "custom cfg";
inline constexpr char kDirKey[] = "dir"; // the game's directory, set in XQF's preferences
inline constexpr char kFileName[] = "config";

// XQF's config file for a user. XQF keeps it in $XDG_CONFIG_HOME/xqf (else
// ~/.config/xqf). Before 1.0.6 it kept ~/.qf, and at its next start it moves
// ~/.qf there, but only while that folder does not exist yet: so while ~/.qf
// exists alone, its config is the one to change (it moves with the rest),
// where creating ~/.config/xqf would leave the player's old settings behind.
QString configPath(const QString &home, const QString &xdgConfigHome);
// The same for this process's $HOME and $XDG_CONFIG_HOME.
QString configPath();

// What XQF reads from a file: the sections in the order they first appear, each
// with its keys in the order they first appear and their last raw values.
struct Settings
{
    struct Section
    {
        QByteArray name;
        QList<std::pair<QByteArray, QByteArray>> keys; // name, raw (escaped) value
        bool operator==(const Section &) const = default;
    };
    QList<Section> sections;
    bool operator==(const Settings &) const = default;

    // The value as XQF's config_get_string() gives it (unescaped), or nothing.
    std::optional<QByteArray> value(QByteArrayView section, QByteArrayView key) const;
};

Settings read(QByteArrayView file);

QByteArray escape(QByteArrayView value);
QByteArray unescape(QByteArrayView raw);

// The change that sets `key` to `value` in `section`, keeping every other byte:
// the last line XQF takes the value from gets the new value; else a line is
// added at the end of the section's last part; else the section is added at the
// end, as XQF writes one. No change when the value is already there. Refused
// (Foreign) when XQF would read the changed file otherwise than with just this
// value changed: lines longer than XQF reads whole, zero bytes.
FileError setValue(const QString &path, QByteArrayView file, QByteArrayView section,
                   QByteArrayView key, QByteArrayView value,
                   std::optional<TextFile::Splice> &change);

// The game's directory as XQF uses it: the "dir" value, `~` expanded the way XQF
// does; empty when unset.
QString gameDirectory(const Settings &settings, Game game, const QString &home);

// The folders XQF lists the game's custom configs from, in its order (those
// below the game's directory, then those below its home), existing or not.
QStringList customConfigFolders(const Settings &settings, Game game, const QString &home);

// Where glyphsmith.cfg goes for XQF: the game folder below the game's home, which
// the Quake III engines search first, else below its directory; the first that
// exists, or empty when none does.
QString scriptFolder(const Settings &settings, Game game, const QString &home);

struct Saved
{
    // Nothing was written, unless `notUndone` says otherwise.
    FileError error;
    // After a failed write of glyphsmith.cfg: why XQF's config could not be set
    // back; it then names glyphsmith.cfg all the same.
    FileError notUndone;
    QString scriptPath;
    QString configPath;
    bool configCreated = false; // XQF's config file did not exist before
    bool listed = false;        // XQF's list of custom configs shows the file
};

// Writes glyphsmith.cfg with `nameLine` into scriptFolder() and sets
// `custom cfg=glyphsmith.cfg` in the game's section of `configPath`, creating
// the file (and its folder) when missing; all or nothing across both files.
// Refused before anything is written when no folder of the game exists
// (NotFound, naming the config file), and for what GameScript::prepareScript()
// and setValue() refuse.
Saved save(const QString &configPath, Game game, const QString &home, const QByteArray &nameLine);

} // namespace XqfConfig
