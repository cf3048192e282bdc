#include "glyphsettings.h"

#include "apppaths.h"
#include "profilefile.h"

namespace GlyphSettings {

QString read(const QString &key)
{
    return ProfileFile::readValue(AppPaths::settingsFile(), QLatin1String(kSection), key);
}

bool write(const QString &key, const QString &value)
{
    return ProfileFile::writeValue(AppPaths::settingsFile(), QLatin1String(kSection), key, value);
}

} // namespace GlyphSettings
