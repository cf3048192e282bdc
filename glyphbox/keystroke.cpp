#include "keystroke.h"

#include "cellgeometry.h"
#include "cp1252.h"

namespace Keystroke {

std::optional<QString> text(int cellNumber)
{
    if (cellNumber < 1 || cellNumber > CellGeometry::kCellCount)
        return std::nullopt;
    const QString prefix = QStringLiteral("Keystroke: ");
    const int code = cellNumber + CellGeometry::kFirstCode - 1;
    if (code == 32)
        return prefix + QStringLiteral("Spacebar");
    if (code <= 126)
        return prefix + Cp1252::toUnicode(QByteArray(1, char(code)));
    if (code <= 128)
        return prefix + QStringLiteral("Ctrl+") + QString::number(code - 126);
    return prefix + QStringLiteral("Alt+0") + QString::number(code);
}

} // namespace Keystroke
