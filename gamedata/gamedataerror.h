// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileerror.h"

#include <QString>

// Why reading a game's data failed: one error type for every reader of game
// archives and pictures. `detail` names the file and the reason in one line
// ("/q/id1/pak0.pak: the directory runs past the end of the file"); it is
// empty when nothing failed.
struct GameDataError
{
    enum Kind {
        None,
        NotFound,    // no such folder, archive or file in the places searched
        Unreadable,  // the system refused to open or read a file
        Damaged,     // the bytes contradict themselves: truncated, sizes that lie
        Unsupported, // well formed, but not something a game's font can be
        NotAFile,    // a folder, pipe, device or a loop of links where a file was looked for
    };

    Kind kind = None;
    QString detail;

    bool ok() const { return kind == None; }

    static GameDataError damaged(const QString &detail) { return {Damaged, detail}; }
    static GameDataError unsupported(const QString &detail) { return {Unsupported, detail}; }

    // The same error, its detail prefixed with where it happened.
    GameDataError in(const QString &where) const
    {
        return {kind, where + QStringLiteral(": ") + detail};
    }

    // The same, of the archive at `path`, saying that it is damaged when it is.
    GameDataError inArchive(const QString &path) const
    {
        if (kind != Damaged)
            return in(path);
        return {kind, path + QStringLiteral(" (a damaged archive): ") + detail};
    }

    // A file the regular-file rule refused or could not read, as one clause
    // after the path: "/q/id1/pak0.pak: it is a pipe, not a regular file".
    static GameDataError fromFile(const FileError &error)
    {
        QString reason = error.detail();
        if (reason.endsWith(QLatin1Char('.')))
            reason.chop(1);
        if (!reason.isEmpty())
            reason[0] = reason[0].toLower();
        switch (error.kind()) {
        case FileError::Kind::None:
            return {};
        case FileError::Kind::NotAFile:
            return {NotAFile, error.path() + QStringLiteral(": ") + reason};
        case FileError::Kind::NotFound:
            return {NotFound, error.path() + QStringLiteral(": ") + reason};
        default:
            return {Unreadable, error.path() + QStringLiteral(": ") + reason};
        }
    }
};

// A value or the reason there is none.
template <typename T> struct GameDataResult
{
    T value{};
    GameDataError error;

    GameDataResult() = default;
    GameDataResult(T v) : value(std::move(v)) {}
    GameDataResult(GameDataError e) : error(std::move(e)) {}

    bool ok() const { return error.kind == GameDataError::None; }
};
