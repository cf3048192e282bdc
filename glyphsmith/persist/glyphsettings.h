#pragma once

#include "fileerror.h"

#include <QList>
#include <QString>
#include <utility>

// The program's own settings: section "Glyphsmith" of AppPaths::settingsFile().
// The folder keys double as the mode controller's config key, so a family's key
// is also the name of the setting that holds its game folder.
namespace GlyphSettings {

inline constexpr char kSection[] = "Glyphsmith";
inline constexpr char kFirst[] = "first";           // "yes" in a fresh installation, then "no"
inline constexpr char kQuake3Folder[] = "q3config"; // the Quake III "baseq3" folder
inline constexpr char kQuakeFolder[] = "q1config";  // the Quake/QuakeWorld "id1" folder
// "yes": the QuakeWorld and Quake III modes show the installed game's own font
// where its folder has one; anything else (a fresh installation) keeps the
// shipped pictures.
inline constexpr char kGameFonts[] = "gamefont";

// The empty text when the file, section or key is missing.
QString read(const QString &key);

// On failure the old value stays.
FileError write(const QString &key, const QString &value);
// Several keys in one write: all of them are stored, or none.
FileError write(const QList<std::pair<QString, QString>> &values);

} // namespace GlyphSettings
