#pragma once

#include <QString>
#include <optional>

// How to type a cell's character, for cell numbers 1 to 224; std::nullopt for any
// other number (the indicator keeps what it showed).
namespace Keystroke {

// The indicator's text: the Windows keystroke.
std::optional<QString> text(int cellNumber);

// "U+00FF LATIN SMALL LETTER Y WITH DIAERESIS": the cell character's code point
// and Unicode name.
std::optional<QString> name(int cellNumber);

// The indicator's tooltip: the name, then how to type the character on Linux
// (the Unicode entry of input methods, the Compose sequence).
std::optional<QString> hint(int cellNumber);

} // namespace Keystroke
