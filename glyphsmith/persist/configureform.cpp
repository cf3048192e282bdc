#include "configureform.h"

#include "glyphsettings.h"
#include "prompts.h"

void ConfigureForm::load()
{
    m_quake3Folder = GlyphSettings::read(QLatin1String(GlyphSettings::kQuake3Folder));
    m_quakeFolder = GlyphSettings::read(QLatin1String(GlyphSettings::kQuakeFolder));
    m_gameFonts =
        GlyphSettings::read(QLatin1String(GlyphSettings::kGameFonts)) == QLatin1String("yes");
}

QString ConfigureForm::text(Field field) const
{
    return field == Field::Quake3Folder ? m_quake3Folder : m_quakeFolder;
}

void ConfigureForm::setText(Field field, const QString &text)
{
    (field == Field::Quake3Folder ? m_quake3Folder : m_quakeFolder) = text;
}

void ConfigureForm::browse(Field field, Prompts &prompts)
{
    setText(field, prompts.pickFolder(QStringLiteral("Please select a folder.")));
}

FileError ConfigureForm::save() const
{
    return GlyphSettings::write({{QLatin1String(GlyphSettings::kQuake3Folder), m_quake3Folder},
                                 {QLatin1String(GlyphSettings::kQuakeFolder), m_quakeFolder},
                                 {QLatin1String(GlyphSettings::kGameFonts),
                                  m_gameFonts ? QStringLiteral("yes") : QStringLiteral("no")}});
}
