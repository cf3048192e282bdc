#include "configureform.h"

#include "configuredgame.h"
#include "gamefamilies.h"
#include "glyphsettings.h"
#include "prompts.h"

#include <algorithm>

namespace {

constexpr ConfigureForm::Field kFields[] = {ConfigureForm::Field::Quake3Folder,
                                            ConfigureForm::Field::QuakeFolder};

ConfigureField configureField(ConfigureForm::Field field)
{
    return field == ConfigureForm::Field::Quake3Folder ? ConfigureField::QuakeIII
                                                       : ConfigureField::Quake;
}

FamilyId familyOf(ConfigureForm::Field field)
{
    return field == ConfigureForm::Field::Quake3Folder ? FamilyId::Quake3 : FamilyId::QuakeWorld;
}

// The folder that stands for an installation in the field.
QString folderOf(const Installation &installation)
{
    if (installation.hasHome())
        return installation.homeFolder();
    return installation.dataFolders().value(0);
}

} // namespace

void ConfigureForm::load()
{
    for (const Field field : kFields) {
        const ConfigureField which = configureField(field);
        Slot &s = slot(field);
        s.text = GlyphSettings::read(ConfiguredGames::folderKey(which));
        s.client = GlyphSettings::read(ConfiguredGames::clientKey(which));
        s.target = GlyphSettings::read(ConfiguredGames::targetKey(which)).toLatin1();
        match(field);
    }
    m_gameFonts =
        GlyphSettings::read(QLatin1String(GlyphSettings::kGameFonts)) == QLatin1String("yes");
}

void ConfigureForm::setFound(const QList<Installation> &found)
{
    m_found = found;
    m_searched = true;
    for (const Field field : kFields) {
        const QList<Installation> mine = offered(field);
        Slot &s = slot(field);
        if (s.text.isEmpty() && mine.size() == 1) {
            s.text = folderOf(mine.first());
            s.client = mine.first().key();
        }
        match(field);
    }
}

QString ConfigureForm::text(Field field) const
{
    return slot(field).text;
}

void ConfigureForm::setText(Field field, const QString &text)
{
    Slot &s = slot(field);
    if (s.text == text)
        return;
    s.text = text;
    match(field);
}

void ConfigureForm::browse(Field field, Prompts &prompts)
{
    setText(field, prompts.pickFolder(QStringLiteral("Please select a folder.")));
}

QList<Installation> ConfigureForm::offered(Field field) const
{
    return ConfiguredGames::ofField(configureField(field), m_found);
}

std::optional<Installation> ConfigureForm::installation(Field field) const
{
    return slot(field).installation;
}

int ConfigureForm::offeredIndex(Field field) const
{
    const Slot &s = slot(field);
    return s.installation ? int(offered(field).indexOf(*s.installation)) : -1;
}

bool ConfigureForm::hasChoice(Field field) const
{
    const qsizetype count = offered(field).size();
    return count > 1 || (count == 1 && offeredIndex(field) != 0);
}

QString ConfigureForm::status(Field field, const QString &playerHome) const
{
    const Slot &s = slot(field);
    if (s.installation)
        return s.installation->describe(playerHome);
    if (!m_searched)
        return QStringLiteral("Looking for installed games\u2026");
    if (!s.text.isEmpty())
        return QStringLiteral("Not a folder of a known game");
    return offered(field).isEmpty() ? QStringLiteral("No installed game found")
                                    : QStringLiteral("Choose one of the games found");
}

QStringList ConfigureForm::choices(Field field, const QString &playerHome) const
{
    QStringList lines;
    if (offeredIndex(field) < 0)
        lines << status(field, playerHome);
    for (const Installation &i : offered(field))
        lines << i.describe(playerHome);
    return lines;
}

int ConfigureForm::chosen(Field field) const
{
    return std::max(offeredIndex(field), 0);
}

void ConfigureForm::choose(Field field, int row)
{
    const QList<Installation> mine = offered(field);
    const int index = offeredIndex(field) < 0 ? row - 1 : row;
    if (index < 0 || index >= mine.size())
        return;
    Slot &s = slot(field);
    s.text = folderOf(mine[index]);
    s.client = mine[index].key();
    match(field);
}

void ConfigureForm::match(Field field)
{
    Slot &s = slot(field);
    // Among this field's games only: a Quake II folder is not a Quake III one.
    s.installation =
        ConfiguredGames::resolve(configureField(field), s.text, s.client, s.target, m_found)
            .installation;
}

std::span<const GameTarget> ConfigureForm::targets(Field field) const
{
    return GameFamilies::targets(familyOf(field));
}

bool ConfigureForm::targetChoosable(Field field) const
{
    const Slot &s = slot(field);
    return ConfiguredGame{s.text, s.installation, {}}.targetKey().isEmpty();
}

QByteArray ConfigureForm::target(Field field) const
{
    const Slot &s = slot(field);
    const QByteArray key = ConfiguredGame{s.text, s.installation, s.target}.targetKey();
    const std::span<const GameTarget> all = targets(field);
    for (const GameTarget &t : all) {
        if (key == t.key)
            return key;
    }
    return all.front().key;
}

void ConfigureForm::setTarget(Field field, const QByteArray &key)
{
    slot(field).target = key;
}

QString ConfigureForm::savedFolder(Field field) const
{
    const Slot &s = slot(field);
    return s.installation ? folderOf(*s.installation) : s.text;
}

FileError ConfigureForm::save() const
{
    QList<std::pair<QString, QString>> values;
    for (const Field field : kFields) {
        const ConfigureField which = configureField(field);
        const Slot &s = slot(field);
        // Before the finding is done the loaded client stands: it is matched again
        // whenever the folder is read.
        const QString client = s.installation ? s.installation->key()
                               : m_searched   ? QString()
                                              : s.client;
        values.append({ConfiguredGames::folderKey(which), savedFolder(field)});
        values.append({ConfiguredGames::clientKey(which), client});
        values.append({ConfiguredGames::targetKey(which), QString::fromLatin1(target(field))});
    }
    values.append({QLatin1String(GlyphSettings::kGameFonts),
                   m_gameFonts ? QStringLiteral("yes") : QStringLiteral("no")});
    return GlyphSettings::write(values);
}
