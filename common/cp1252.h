#pragma once

#include <QByteArray>
#include <QString>

// Names live as Windows-1252 bytes; these convert at the edges only (widgets,
// clipboard, window titles).
namespace Cp1252 {

// Every byte maps to one character; the five bytes that Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value.
QString toUnicode(const QByteArray &bytes);

// Characters Windows-1252 cannot hold become '?'. `lossless` tells whether any did.
QByteArray fromUnicode(const QString &text, bool *lossless = nullptr);

// For display only: control codes 1 to 31 become the visible control pictures
// U+2401..U+241F, so a name holding them still shows where they stand.
QString toDisplay(const QByteArray &bytes);

} // namespace Cp1252
