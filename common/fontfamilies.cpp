#include "fontfamilies.h"

#include <QFontDatabase>

namespace FontFamilies {

QStringList firstInstalledOnward(const QStringList &families)
{
    QStringList installed = QFontDatabase::families();
    // A family that more than one foundry makes is listed as "Family [Foundry]".
    for (QString &family : installed)
        family = family.section(QStringLiteral(" ["), 0, 0);
    for (qsizetype i = 0; i < families.size(); ++i) {
        if (installed.contains(families[i], Qt::CaseInsensitive))
            return families.mid(i);
    }
    return families;
}

} // namespace FontFamilies
