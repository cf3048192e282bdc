// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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
    };

    Kind kind = None;
    QString detail;

    static GameDataError damaged(const QString &detail) { return {Damaged, detail}; }
    static GameDataError unsupported(const QString &detail) { return {Unsupported, detail}; }

    // The same error, its detail prefixed with where it happened.
    GameDataError in(const QString &where) const
    {
        return {kind, where + QStringLiteral(": ") + detail};
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
