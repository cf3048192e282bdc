// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the main window's own widgets are to a screen reader: the grid and the
// strip lists of their cells (AccessibleCells), the output boxes read-only text,
// the side panel's captions buttons that open a menu or copy, the name check a
// status line. Installed once, before the first of them is asked for.
namespace ShellAccessibility {

void install();

} // namespace ShellAccessibility
