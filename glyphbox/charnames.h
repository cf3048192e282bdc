// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

// What the grid's characters are called and how to type them on X11: our own
// table of Unicode names for U+0020 to U+00FF and the other characters of
// Windows-1252, with a Compose sequence for those that have one.
namespace CharNames {

struct Entry
{
    char16_t code;
    const char *name;    // the Unicode name; "<control>" for control codes
    const char *compose; // the keys after Compose, separated by spaces; nullptr if none
};

std::optional<Entry> find(char16_t code);

} // namespace CharNames
