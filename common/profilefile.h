#pragma once

#include <QString>

// An INI settings file with the semantics the programs rely on: section and key
// names compare case-insensitively, values read back cut at 254 characters, a
// missing file (or section, or key) reads as the empty text, and an empty value
// stays in the file as "key=". Writing keeps every other line of the file as it
// was, and replaces the file atomically under a lock. Files are UTF-8 text with
// CR LF line ends.
namespace ProfileFile {

inline constexpr int kMaxValueLength = 254;

QString readValue(const QString &file, const QString &section, const QString &key);

// Creates the file, section and key as needed. Returns false when the file could
// not be written; callers that don't care may ignore it.
bool writeValue(const QString &file, const QString &section, const QString &key,
                const QString &value);

} // namespace ProfileFile
