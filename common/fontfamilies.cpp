#include "fontfamilies.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <algorithm>

namespace FontFamilies {

QString systemFamily()
{
    // The very request the application's own text makes, so that Qt's cache of
    // the resolution serves both.
    static const QString family = QFontInfo(QGuiApplication::font()).family();
    return family;
}

QString firstInstalled(const QStringList &families, const QStringList &installed)
{
    for (const QString &family : families) {
        // A family that more than one foundry makes is listed as "Family [Foundry]".
        const auto matches = [&](const QString &name) {
            return name.startsWith(family, Qt::CaseInsensitive) &&
                   (name.size() == family.size() ||
                    QStringView(name).mid(family.size()).startsWith(u" ["));
        };
        if (std::any_of(installed.begin(), installed.end(), matches))
            return family;
    }
    return systemFamily();
}

QString firstInstalled(const QStringList &families)
{
    return firstInstalled(families, QFontDatabase::families());
}

} // namespace FontFamilies
