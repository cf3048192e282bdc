#pragma once

#include "fileerror.h"
#include "regularfile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class AtomicFile;

// Reading and changing the small text files the programs keep (settings, key
// store, configuration scripts). Only regular files are read (RegularFile), never
// blocking on a pipe, and only up to a size that fits the file's purpose. Lines are raw bytes, so
// whatever an edit does not touch goes back out byte for byte.
namespace TextFile {

struct Contents
{
    FileError error;     // why an existing file could not be read
    bool exists = false; // a missing file reads as empty, without an error
    QByteArray data;
};

Contents read(const QString &path, qint64 maxSize);

// At most the last `maxSize` bytes of a file, under the same rules, from the
// first line that starts in them; the whole file when it is no larger.
Contents readTail(const QString &path, qint64 maxSize);

// A file read in pieces, under the same rules as read().
class Source
{
public:
    Source() = default;
    Source(const Source &) = delete;
    Source &operator=(const Source &) = delete;

    // A missing file is no error: exists() then says false and read() gives nothing.
    FileError open(const QString &path, qint64 maxSize);
    bool exists() const { return m_file.isOpen(); }

    // Up to `chunk.size()` bytes into `chunk`, resized to what was read; an empty
    // chunk at the end of the file.
    FileError read(QByteArray &chunk);

private:
    RegularFile m_file;
    qint64 m_maxSize = 0;
    qint64 m_total = 0;
};

// One change to a file's bytes: `removed` bytes at `at` give way to `inserted`.
struct Splice
{
    qsizetype at = 0;
    qsizetype removed = 0;
    QByteArray inserted;
};

struct UpdateRules
{
    qint64 maxSize = 0;    // a larger file is refused, untouched
    int lockTimeoutMs = 0; // how long a live writer may keep us waiting
};

// Given the file's current bytes (empty for a missing file), says what to change:
// an error refuses the update, no change leaves the file untouched.
using Edit = std::function<FileError(const QByteArray &current, std::optional<Splice> &change)>;

// The one edit cycle of the settings file and the key store: lock the file, read
// it afresh (so a change another program made meanwhile is kept), edit, and
// replace it atomically. When `kept` is given, a committed write is handed over
// revertible (AtomicFile::commit(true)); it stays empty when nothing was written.
FileError update(const QString &path, const UpdateRules &rules, const Edit &edit,
                 std::unique_ptr<AtomicFile> *kept = nullptr);

// The lines of a text, without copies: each the text without its line end ("\n",
// or "\r\n"), which is part of the line; a last line may have none.
class Lines
{
public:
    explicit Lines(QByteArrayView data) : m_data(data) {}

    struct Line
    {
        qsizetype start = 0;
        qsizetype end = 0;  // end of the text, before the line end
        qsizetype next = 0; // start of the next line
        bool terminated() const { return next > end; }
    };

    // The next line, or false at the end of the text.
    bool next(Line &line);
    QByteArrayView text(const Line &line) const
    {
        return m_data.sliced(line.start, line.end - line.start);
    }

private:
    QByteArrayView m_data;
    qsizetype m_at = 0;
};

} // namespace TextFile
