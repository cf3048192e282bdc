#pragma once

#include <QString>
#include <optional>

// The indicator text that tells which keystroke types a cell's character, for
// cell numbers 1 to 224; std::nullopt for any other number (the indicator keeps
// what it showed).
namespace Keystroke {

std::optional<QString> text(int cellNumber);

} // namespace Keystroke
