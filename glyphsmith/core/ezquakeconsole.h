// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// ezQuake's console line for a name, and ezQuake's reading of it. ezQuake turns
// escapes in a name into bytes as it sends the name to the server (its fun
// characters, on by default): "$x" and two hexadecimal digits is that byte ("$x00"
// a blank), "$$" and "$^" are '$' and '^', "$0".."$9" the gold digits 18-27, a few
// more "$" + character pairs name single glyphs, and '^' and a character other
// than a blank is that character + 128. So a name of any bytes can be typed into
// its console in printable ASCII.
namespace EzQuakeConsole {

// Why a byte of the raw name is not in the console line.
enum class Reason {
    NoEscape,   // code 0: no escape gives it ("$x00" gives a blank)
    Dropped,    // codes 1 to 13: ezQuake leaves them out of the player info
    Refused,    // '"' or '\': ezQuake refuses a name holding one
    ColourCode, // the '&' of "&r", or of "&c" and three hexadecimal digits: ezQuake refuses the
                // name
    TooLong,    // byte 64 on: ezQuake refuses a name of 64 bytes or more
};

struct LeftOut
{
    int position; // in the raw name, from 0
    Reason reason;
};

struct Line
{
    QByteArray text;        // name "<escaped>", printable ASCII only
    QList<LeftOut> leftOut; // the raw name's bytes that are not in it, by position
};

// The shortest line that ezQuake turns back into the raw name, leaving out (and
// listing) the bytes it would drop or refuse. Every '$' and '^' of the name is
// written escaped, even where ezQuake would read a lone one as itself.
Line encode(const QByteArray &raw);

// One short phrase for a message: "ezQuake leaves codes 1 to 13 out of the player info".
QString describe(Reason reason);

// An escape ezQuake reads in a name: `length` bytes from `position` become `byte`.
struct Escape
{
    int position;
    int length;
    char byte;
};

// ezQuake's reading of a name as it sends it, left to right; a '$' or '^' that
// starts no escape stays as it is.
QList<Escape> escapes(const QByteArray &value);
QByteArray decode(const QByteArray &value);

} // namespace EzQuakeConsole
