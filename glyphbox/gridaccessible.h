// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the grid box is to a screen reader: a list of its 224 characters, each
// named by the character, its code point and Unicode name (and the font's lack
// of it), the selected one current. Installed once, before the grid is asked for.
namespace GridAccessible {

void install();

} // namespace GridAccessible
