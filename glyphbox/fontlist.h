// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// The font list's entries and its first choice.
namespace FontList {

// Each family once, by its plain name ("C059" for "C059 [UKWN]" and "C059 [urw]":
// the foundry tags Qt adds where several foundries make a family), sorted
// without regard to case.
QStringList plainFamilies(const QStringList &families);

// The entry to select at start: `preferred` where the list has it (in any case),
// else the first entry; -1 for an empty list.
int startIndex(const QStringList &families, const QString &preferred);

} // namespace FontList
