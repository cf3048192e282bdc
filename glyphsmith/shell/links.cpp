#include "links.h"

#include <QDesktopServices>

QUrl Links::url(Target target)
{
    switch (target) {
    case Target::Email:
        return QUrl(QStringLiteral("mailto:glyphsmith@kestrelworks.com"));
    case Target::Homepage:
        return QUrl(QStringLiteral("http://www.kestrelworks.com/"));
    case Target::GameSpy:
        return QUrl(QStringLiteral("http://www.gamespy.com/"));
    }
    Q_ASSERT(false);
    return {};
}

void Links::open(Target target)
{
    QDesktopServices::openUrl(url(target));
}
