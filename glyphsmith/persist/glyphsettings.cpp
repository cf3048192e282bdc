#include "glyphsettings.h"

#include "apppaths.h"
#include "profilefile.h"

namespace GlyphSettings {

QString read(const QString &key)
{
    return ProfileFile::readValue(AppPaths::settingsFile(), QLatin1String(kSection), key);
}

FileError write(const QString &key, const QString &value)
{
    return ProfileFile::writeValue(AppPaths::settingsFile(), QLatin1String(kSection), key, value);
}

FileError write(const QList<std::pair<QString, QString>> &values)
{
    return ProfileFile::writeValues(AppPaths::settingsFile(), QLatin1String(kSection), values);
}

} // namespace GlyphSettings
