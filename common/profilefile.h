#pragma once

#include "fileerror.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

// An INI settings file with the semantics the programs rely on: section and key
// names compare case-insensitively, values read back cut at 254 characters, a
// missing file (or section, or key) reads as the empty text, and an empty value
// stays in the file as "key=". Writing keeps every other line of the file as it
// was, and replaces the file atomically under a lock (TextFile::update). Files are
// UTF-8 text with CR LF line ends.
//
// A value is everything after the first '=' of its line, exactly as written: no
// blanks or quotes are stripped, so "yes " or "Yes" never reads as "yes". Blanks
// around section and key names are ignored. Where a section or key appears twice,
// the first one counts. Lines starting with ';' or '#' are comments.
namespace ProfileFile {

inline constexpr int kMaxValueLength = 254;
// A settings file holds a few keys; anything this large is not one.
inline constexpr qint64 kMaxFileSize = 1024 * 1024;

QString readValue(const QString &file, const QString &section, const QString &key);

// Creates the file, section and key as needed (not the folder). Kind Refused,
// leaving the file as it was, when the section, key or value would not survive
// the trip (empty names, a line break or NUL anywhere, ']' in the section, '=' in
// the key); any other error when the file could not be written.
FileError writeValue(const QString &file, const QString &section, const QString &key,
                     const QString &value);

// Several keys of one section in one write: all of them are stored, or none.
FileError writeValues(const QString &file, const QString &section,
                      const QList<std::pair<QString, QString>> &values);

// The same rules on a file's bytes, without the file.
QString valueIn(const QByteArray &data, const QString &section, const QString &key);
// Why the entry cannot be written (kind Refused), or no error.
FileError checkEntry(const QString &section, const QString &key, const QString &value);
// `data` with the entry written; the entry must have passed checkEntry().
QByteArray withValue(const QByteArray &data, const QString &section, const QString &key,
                     const QString &value);

} // namespace ProfileFile
