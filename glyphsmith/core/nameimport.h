// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>

class ModeController;
class NameComposer;

// A raw name taken back into the strip in the current mode: decoded into cells,
// each glyph drawn from the mode's pictures (in its own colour in Quake III), and
// set into the slots as if clicked.
namespace NameImport {

struct Outcome
{
    int glyphs = 0;         // slots filled
    QList<int> unmatched;   // positions (from 0) of bytes no cell of the mode yields
    bool truncated = false; // more than 25 glyphs: the first 25 were kept
    QByteArray leftover;    // trailing bytes that make no glyph
};

Outcome apply(const QByteArray &raw, NameComposer &composer, const ModeController &modes);

} // namespace NameImport
