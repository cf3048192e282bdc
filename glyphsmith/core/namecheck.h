// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "namerules.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The verdict on a raw name for one game: a line for the window and the findings
// behind it. `fine` is false as soon as there is one finding.
struct NameVerdict
{
    bool fine = true;
    QString summary;             // "Quake III: 17 of 35 bytes - fine"
    QList<NameFinding> findings; // along the name, by position
};

namespace NameCheck {

// `quotedLine`: the name stands between quotes in the line that sets it, so a
// quote in the name breaks that line. A game without known facts gets a neutral
// summary; only bytes that break the script line are reported for it.
NameVerdict check(const QByteArray &raw, const GameFamily &family, bool quotedLine);

// The first byte that would break the script line (0, 10, 13, and the quote when
// quoted), or -1. The save commands refuse a name that has one.
int firstScriptBreak(const QByteArray &raw, bool quotedLine);

} // namespace NameCheck
