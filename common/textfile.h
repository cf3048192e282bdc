#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// Whole-file reads and atomic writes for the small text files the programs keep
// (settings, key store, configuration scripts). Lines are raw bytes, so whatever
// a writer does not touch goes back out byte for byte.
namespace TextFile {

struct Line
{
    QByteArray text; // without the line end
    QByteArray end;  // "\r\n", "\n", or empty for an unterminated last line
};

std::vector<Line> splitLines(const QByteArray &data);
QByteArray joinLines(const std::vector<Line> &lines);

struct Contents
{
    bool ok = true;      // false: the file exists but could not be read
    bool exists = false; // a missing file reads as empty, and ok
    QByteArray data;
    QString error; // the reason when not ok
};

Contents read(const QString &path);

// Writes a temporary file beside `path` and renames it over the old one, keeping
// its permissions: a crash or a full disk never leaves half a file. Returns the
// reason on failure, the empty text on success.
QString writeAtomically(const QString &path, const QByteArray &data);

} // namespace TextFile
