#include "startup.h"

#include "glyphsettings.h"
#include "prompts.h"

namespace {

constexpr char kWelcome[] =
    "THIS MESSAGE WILL ONLY APPEAR ONCE:\r"
    "Thanks for choosing Glyphsmith.\r"
    "Since this is your first time running Glyphsmith, you will be prompted to configure GLYPH "
    "with QuakeWorld and/or Quake3: Arena. If you are using Glyphsmith for a game/program other "
    "than QuakeWorld or Quake3: Arena then press cancel and continue to run Glyphsmith. If you "
    "need help click the Help menu from the main screen and view our help and tutorials page. If "
    "you need help after that feel free to send me an email.";

} // namespace

namespace StartUp {

bool firstRunCheck(Prompts &prompts)
{
    // Exact comparison: "Yes" or "yes " written by hand do not count.
    if (GlyphSettings::read(QLatin1String(GlyphSettings::kFirst)) != QLatin1String("yes"))
        return false;
    prompts.message(QLatin1String(kWelcome), QStringLiteral("Glyphsmith"));
    // Unrecorded, the welcome shows once more next time: nothing to trouble the user with.
    (void)GlyphSettings::write(QLatin1String(GlyphSettings::kFirst), QStringLiteral("no"));
    return true;
}

} // namespace StartUp
