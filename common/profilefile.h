#pragma once

#include <QString>

// An INI settings file with the semantics the programs rely on: section and key
// names compare case-insensitively, values read back cut at 254 characters, a
// missing file (or section, or key) reads as the empty text, and an empty value
// stays in the file as "key=". Writing keeps every other line of the file as it
// was, and replaces the file atomically under a lock. Files are UTF-8 text with
// CR LF line ends.
//
// A value is everything after the first '=' of its line, exactly as written: no
// blanks or quotes are stripped, so "yes " or "Yes" never reads as "yes". Blanks
// around section and key names are ignored. Where a section or key appears twice,
// the first one counts. Lines starting with ';' or '#' are comments.
namespace ProfileFile {

inline constexpr int kMaxValueLength = 254;

QString readValue(const QString &file, const QString &section, const QString &key);

// Creates the file, section and key as needed (not the folder). Returns false,
// leaving the file as it was, when it could not be written, or when the section,
// key or value would not survive the trip (empty names, a line break or NUL
// anywhere, ']' in the section, '=' in the key). Callers that don't care may
// ignore it.
bool writeValue(const QString &file, const QString &section, const QString &key,
                const QString &value);

} // namespace ProfileFile
