// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "glyphtables.h"

#include <QByteArray>
#include <optional>

// Reading a name back from a game script or pasted text. A script is read as the
// engines read it: CR or LF ends a command, so does ';' outside quotes, and "//"
// outside quotes starts a comment (our marker comments among them).
namespace NameScript {

// The value of the last command that sets the name: `name`, or `set`, `seta` or
// `setu` followed by `name`, in any letter case. A quoted value is what stands
// between the quotes (to the end of the line when the closing one is missing);
// an unquoted one is the rest of the command without the blanks around it.
// nullopt when no command sets the name (`name` alone only asks for it).
std::optional<QByteArray> lastNameValue(const QByteArray &script);

// `value` without what `framing` puts inside the quotes around the raw name (the
// Quake III "^7" before the closing quote); a value without it stays as it is.
QByteArray stripFraming(const QByteArray &value, const Framing &framing);

// lastNameValue() and stripFraming() together. The caller passes bytes that start
// at the beginning of a line.
std::optional<QByteArray> rawNameFromScript(const QByteArray &script, const Framing &framing);

// Pasted text, without a trailing line end: one line whose first command sets the
// name gives that raw name; anything else is the raw name itself.
QByteArray rawNameFromPaste(const QByteArray &text, const Framing &framing);

// ezQuake's console line as Copy Console Line writes it (or ezQuake's own config
// keeps it): one line that is `name` and a quoted value, with nothing after the
// closing quote but blanks. The value, still in ezQuake's escapes; nullopt for
// anything else, such as the Command Line, whose marker comment marks a raw name.
std::optional<QByteArray> consoleLineValue(const QByteArray &text);

// False for bytes that are not a script: a NUL byte, or control codes outside
// quoted values making up more than one byte in sixteen.
bool looksLikeText(const QByteArray &bytes);

} // namespace NameScript
