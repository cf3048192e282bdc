#include "keystroke.h"

#include "cellgeometry.h"
#include "charnames.h"
#include "cp1252.h"

namespace Keystroke {

namespace {

bool isCell(int cellNumber)
{
    return cellNumber >= 1 && cellNumber <= CellGeometry::kCellCount;
}

int byteOf(int cellNumber)
{
    return cellNumber + CellGeometry::kFirstCode - 1;
}

char16_t codeOf(int cellNumber)
{
    return Cp1252::toUnicode(QByteArray(1, char(byteOf(cellNumber)))).at(0).unicode();
}

QString codePoint(char16_t code)
{
    return QStringLiteral("U+%1").arg(int(code), 4, 16, QLatin1Char('0')).toUpper();
}

} // namespace

std::optional<QString> text(int cellNumber)
{
    if (!isCell(cellNumber))
        return std::nullopt;
    const QString prefix = QStringLiteral("Keystroke: ");
    const int code = byteOf(cellNumber);
    if (code == 32)
        return prefix + QStringLiteral("Spacebar");
    if (code <= 126)
        return prefix + Cp1252::toUnicode(QByteArray(1, char(code)));
    if (code <= 128)
        return prefix + QStringLiteral("Ctrl+") + QString::number(code - 126);
    return prefix + QStringLiteral("Alt+0") + QString::number(code);
}

std::optional<QString> name(int cellNumber)
{
    if (!isCell(cellNumber))
        return std::nullopt;
    const char16_t code = codeOf(cellNumber);
    const std::optional<CharNames::Entry> entry = CharNames::find(code);
    return codePoint(code) + QLatin1Char(' ') +
           (entry ? QLatin1String(entry->name) : QLatin1String("(unnamed)"));
}

std::optional<QString> hint(int cellNumber)
{
    std::optional<QString> lines = name(cellNumber);
    if (!lines)
        return std::nullopt;
    const char16_t code = codeOf(cellNumber);
    // Bytes that Windows-1252 leaves undefined come through as C1 control codes.
    if (code >= 0x80 && code <= 0x9F)
        return *lines + QStringLiteral("\nWindows-1252 has no character for this byte.");
    // The keyboard has the others; the indicator names the key.
    if (code <= 0x7F)
        return lines;

    *lines += QStringLiteral("\nIn IBus and input methods like it: Ctrl+Shift+U, then %1, "
                             "then Space")
                  .arg(int(code), 0, 16);
    const std::optional<CharNames::Entry> entry = CharNames::find(code);
    if (entry && entry->compose) {
        // Two spaces between the keys, since a key may be a comma.
        const QString keys =
            QString::fromLatin1(entry->compose).replace(QLatin1Char(' '), QStringLiteral("  "));
        *lines += QStringLiteral("\nWith a Compose key: Compose, then  %1").arg(keys);
    }
    *lines += QStringLiteral("\n(The keystroke shown is for Windows.)");
    return lines;
}

} // namespace Keystroke
