// SPDX-License-Identifier: GPL-3.0-or-later
#include "fontlist.h"

#include <algorithm>

namespace FontList {

QStringList plainFamilies(const QStringList &families)
{
    QStringList plain;
    plain.reserve(families.size());
    for (const QString &family : families) {
        const qsizetype tag = family.indexOf(QLatin1String(" ["));
        plain.append(tag < 0 ? family : family.left(tag));
    }
    const auto before = [](const QString &a, const QString &b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    };
    // Qt lists the families in this order already; sorting thousands again costs
    // more than the check.
    if (!std::is_sorted(plain.begin(), plain.end(), before))
        std::sort(plain.begin(), plain.end(), before);
    plain.erase(std::unique(plain.begin(), plain.end(),
                            [](const QString &a, const QString &b) {
                                return a.compare(b, Qt::CaseInsensitive) == 0;
                            }),
                plain.end());
    return plain;
}

int startIndex(const QStringList &families, const QString &preferred)
{
    if (families.isEmpty())
        return -1;
    const auto it = std::find_if(families.begin(), families.end(), [&](const QString &family) {
        return family.compare(preferred, Qt::CaseInsensitive) == 0;
    });
    return it == families.end() ? 0 : int(it - families.begin());
}

} // namespace FontList
