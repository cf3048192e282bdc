#pragma once

#include <QString>

// Where the programs find their files. Every path is built at the moment of use.
namespace AppPaths {

// The folder of the running executable, without a trailing separator. Tests (and
// the environment variable GLYPH_PROGRAM_DIR) may point it elsewhere.
QString programFolder();
void setProgramFolder(const QString &folder); // empty: back to the executable's folder

// A file below the program folder; `relative` uses '/' ("q3a/q3-white.gif").
QString dataFile(const QString &relative);

// Where file dialogs start: the folder named by the WinDir environment variable,
// or the user's home folder where it is not set.
QString dialogStartFolder();

// $XDG_CONFIG_HOME/glyphsmith, or ~/.config/glyphsmith when that is unset.
QString configFolder();

// "glyph.ini" in the program folder when that folder can be written and is no
// installed copy (which holds the file kInstalledMarker); otherwise a copy in
// configFolder(), taken from the shipped file on first use so its keys (first=yes
// among them) carry over.
QString settingsFile();
inline constexpr char kInstalledMarker[] = "installed-copy";

// The per-user key store, shared by both programs: configFolder()/registry.reg.
QString keyStoreFile();

} // namespace AppPaths
