// SPDX-License-Identifier: GPL-3.0-or-later
#include "namecommands.h"

#include "apppaths.h"
#include "cp1252.h"
#include "ezquakeconsole.h"
#include "gamemodes.h"
#include "glyphsettings.h"
#include "modecontroller.h"
#include "namecomposer.h"
#include "nameimport.h"
#include "namescript.h"
#include "prompts.h"
#include "textfile.h"

#include <QFileInfo>
#include <QStringList>

namespace {

const QString kTitle = QStringLiteral("Glyphsmith");

// A name line stands near the end of a script, where the game and we append.
constexpr qint64 kTailBytes = 4 * 1024 * 1024;

Framing framingOf(const ModeController &modes)
{
    return GlyphTables::framing(GameModes::mode(modes.mode()).filler);
}

// The mode's game folder, else the one QuickSave uses, else where dialogs start.
QString startFolder(const ModeController &modes)
{
    for (const GameFamily *family : {&modes.family(), &modes.configFamily()}) {
        if (!family->configKey)
            continue;
        const QString folder = GlyphSettings::read(QLatin1String(family->configKey));
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder;
    }
    return AppPaths::dialogStartFolder();
}

} // namespace

NameCommands::NameCommands(NameComposer &composer, const ModeController &modes, Prompts &prompts)
    : m_composer(composer), m_modes(modes), m_prompts(prompts)
{}

void NameCommands::openFromScript()
{
    Prompts::FileRequest request;
    request.title = QStringLiteral("Open Name from Script");
    request.filters = {QStringLiteral("Configuration File (*.Cfg)"),
                       QStringLiteral("All Files (*)")};
    request.startFolder = startFolder(m_modes);
    const QString path = m_prompts.openFile(request);
    if (path.isEmpty())
        return;

    const TextFile::Contents tail = TextFile::readTail(path, kTailBytes);
    if (!tail.error.ok() || !tail.exists) {
        const QString reason =
            tail.error.ok() ? QStringLiteral("The file does not exist.") : tail.error.detail();
        m_prompts.message(QStringLiteral("Could not read %1:\r%2").arg(path, reason), kTitle);
        return;
    }
    if (!NameScript::looksLikeText(tail.data)) {
        m_prompts.message(QStringLiteral("%1 is not a game script. Nothing was changed.").arg(path),
                          kTitle);
        return;
    }
    const std::optional<QByteArray> raw =
        NameScript::rawNameFromScript(tail.data, framingOf(m_modes));
    if (!raw) {
        m_prompts.message(
            QStringLiteral("No line of %1 sets the name. Nothing was changed.").arg(path), kTitle);
        return;
    }
    take(*raw);
}

void NameCommands::paste(const QString &clipboardText)
{
    QString text = clipboardText;
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    bool lossless = false;
    const QByteArray bytes = Cp1252::fromUnicode(text, &lossless);
    if (!lossless) {
        m_prompts.message(QStringLiteral("The clipboard holds characters that no name can carry "
                                         "(names are Windows-1252 text). Nothing was changed."),
                          kTitle);
        return;
    }
    // In the QuakeWorld modes a bare name line is ezQuake's console form: read its
    // escapes as ezQuake does.
    const std::optional<QByteArray> console =
        m_modes.family().ezQuakeConsoleLine ? NameScript::consoleLineValue(bytes) : std::nullopt;
    const QByteArray raw = console ? EzQuakeConsole::decode(*console)
                                   : NameScript::rawNameFromPaste(bytes, framingOf(m_modes));
    if (raw.isEmpty()) {
        m_prompts.message(QStringLiteral("The clipboard holds no name. Nothing was changed."),
                          kTitle);
        return;
    }
    take(raw);
}

void NameCommands::take(const QByteArray &raw)
{
    const NameImport::Outcome outcome = NameImport::apply(raw, m_composer, m_modes);
    QStringList remarks;
    if (!outcome.unmatched.isEmpty()) {
        QStringList positions;
        for (int at : outcome.unmatched)
            positions.append(QString::number(at + 1));
        remarks.append(outcome.unmatched.size() == 1
                           ? QStringLiteral("No glyph of this mode gives byte %1 of the name: it "
                                            "was left out.")
                                 .arg(positions.first())
                           : QStringLiteral("No glyph of this mode gives bytes %1 of the name: "
                                            "they were left out.")
                                 .arg(positions.join(QStringLiteral(", "))));
    }
    if (outcome.truncated)
        remarks.append(
            QStringLiteral("The name has more than 25 glyphs: the first 25 were taken."));
    if (!outcome.leftover.isEmpty())
        remarks.append(
            QStringLiteral("The end of the name, \"%1\", makes no glyph: it was left out.")
                .arg(Cp1252::toUnicode(outcome.leftover)));
    if (!remarks.isEmpty())
        m_prompts.message(remarks.join(QLatin1Char('\r')), kTitle);
}
