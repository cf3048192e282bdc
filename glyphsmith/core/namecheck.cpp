// SPDX-License-Identifier: GPL-3.0-or-later
#include "namecheck.h"

#include "ezquakeconsole.h"

#include <QStringList>
#include <algorithm>
#include <optional>

namespace {

using Kind = NameFinding::Kind;

QString refusalSummary(const GameName &game, const GameFamily &family)
{
    switch (game.refusal) {
    case Refusal::NameEndsThere:
        return QStringLiteral("the name ends at byte %1").arg(game.refusedAt + 1);
    case Refusal::OldNameKept:
    case Refusal::NameRefused:
        return QStringLiteral("the game keeps the old name");
    case Refusal::PlayerUnnamed:
        return family.emptyName
                   ? QStringLiteral("the player becomes %1%2")
                         .arg(QLatin1String(family.emptyName), family.emptyNameNumbered
                                                                   ? QStringLiteral(" and a number")
                                                                   : QString())
                   : QStringLiteral("the player has no name");
    case Refusal::NameDropped:
        return QStringLiteral("the player has no name");
    case Refusal::ConnectionRefused:
        return QStringLiteral("%1 refuses the connection").arg(QLatin1String(family.actor));
    case Refusal::ByteDropped:
        break;
    }
    return {};
}

QString plural(qsizetype n, const char *one)
{
    return n == 1 ? QStringLiteral("1 %1").arg(QLatin1String(one))
                  : QStringLiteral("%1 %2s").arg(n).arg(QLatin1String(one));
}

// The worst of what happens to the name, as the end of the check line; empty when
// only a limit cuts it (the count says so).
QString worstOf(const GameName &traced, const GameFamily &family, const QByteArray &raw)
{
    qsizetype changed = 0, escapes = 0, mustQuote = 0;
    bool overLimit = false;
    for (const NameFinding &f : traced.findings) {
        changed += f.kind == Kind::Changed;
        overLimit = overLimit || f.kind == Kind::OverLimit;
        mustQuote += f.kind == Kind::ScriptBreak && f.position != traced.lineBreak;
        escapes += f.kind == Kind::Escape;
    }
    const QString actor = QLatin1String(family.actor);
    if (traced.lineBreak >= 0)
        return QStringLiteral("the script line breaks at byte %1").arg(traced.lineBreak + 1);
    if (mustQuote > 0)
        return QStringLiteral("the script line must quote the name");
    if (!traced.outcome.isEmpty())
        return traced.outcome;
    if (traced.refusedAt >= 0)
        return refusalSummary(traced, family);
    if (traced.replaced)
        return QStringLiteral("the game shows %1").arg(QLatin1String(family.emptyName));
    if (escapes == 1) {
        const EzQuakeConsole::Escape e = EzQuakeConsole::escapes(raw).first();
        const uchar b = static_cast<uchar>(e.byte);
        return QStringLiteral("ezQuake reads '%1' as %2")
            .arg(QString::fromLatin1(raw.mid(e.position, e.length)),
                 b > 32 && b < 127 ? QStringLiteral("'%1'").arg(QLatin1Char(e.byte))
                                   : QStringLiteral("code %1").arg(b));
    }
    if (escapes > 1)
        return QStringLiteral("ezQuake reads %1 escapes in it").arg(escapes);
    if (changed > 0 && changed == traced.trimmed)
        return QStringLiteral("%1 trims %2").arg(actor, plural(changed, "byte"));
    if (changed > 0)
        return QStringLiteral("%1 changes %2").arg(actor, plural(changed, "byte"));
    if (!overLimit)
        return QStringLiteral("fine");
    return {};
}

} // namespace

namespace NameCheck {

NameVerdict check(const QByteArray &raw, const GameFamily &family, bool quotedLine)
{
    NameVerdict verdict;
    const QString game = QLatin1String(family.name);
    if (raw.isEmpty()) {
        verdict.summary = game + QStringLiteral(": no name yet");
        return verdict;
    }
    const GameName traced = NameRules::apply(raw, family, quotedLine, NameEvent::Connect);
    verdict.findings = traced.findings;
    // Where the server reads a change otherwise, the check says both; a change
    // only ends its reading earlier, so its findings add little.
    std::optional<GameName> change;
    if (!family.eventRules.empty()) {
        change = NameRules::apply(raw, family, quotedLine, NameEvent::Change);
        for (const NameFinding &f : change->findings) {
            const bool known = std::any_of(
                verdict.findings.cbegin(), verdict.findings.cend(), [&](const NameFinding &g) {
                    return g.kind == f.kind && g.position == f.position && g.text == f.text;
                });
            if (!known)
                verdict.findings.append(f);
        }
    }
    // The tooltip lists them along the name.
    std::stable_sort(
        verdict.findings.begin(), verdict.findings.end(),
        [](const NameFinding &a, const NameFinding &b) { return a.position < b.position; });
    verdict.fine = verdict.findings.isEmpty();

    if (!family.known) {
        const QString lineBreak =
            traced.lineBreak < 0
                ? QString()
                : QStringLiteral("the script line breaks at byte %1").arg(traced.lineBreak + 1);
        verdict.summary = QStringLiteral("%1: %2 bytes - ").arg(game).arg(raw.size()) +
                          (lineBreak.isEmpty() ? QString() : lineBreak + QStringLiteral("; ")) +
                          QStringLiteral("nothing is known of this game's limits");
        return verdict;
    }

    QString count;
    const NameLimit *tight = NameRules::tightestCut(family);
    // A refused name never reaches the limits.
    const bool refused = traced.refusedAt >= 0 && traced.refusal != Refusal::NameEndsThere;
    if (!tight || refused)
        count = QStringLiteral("%1 bytes").arg(traced.measured);
    else if (traced.measured > tight->bytes)
        count = QStringLiteral("%1 %2 of %3 bytes")
                    .arg(QLatin1String(tight->where))
                    .arg(tight->bytes)
                    .arg(traced.measured);
    else
        count = QStringLiteral("%1 of %2 bytes").arg(traced.measured).arg(tight->bytes);

    // One line: the count, and the worst of what else happens; the findings hold the rest.
    QString worst = worstOf(traced, family, raw);
    if (change) {
        const QString onChange = worstOf(*change, family, raw);
        if (onChange != worst) {
            QStringList parts;
            if (worst == QLatin1String("fine"))
                parts << QStringLiteral("fine at connect");
            else if (!worst.isEmpty())
                parts << QStringLiteral("at connect ") + worst;
            if (onChange == QLatin1String("fine"))
                parts << QStringLiteral("fine on a change");
            else if (!onChange.isEmpty())
                parts << QStringLiteral("on a change ") + onChange;
            worst = parts.join(QStringLiteral("; "));
        }
    }
    verdict.summary = game + QStringLiteral(": ") + count +
                      (worst.isEmpty() ? QString() : QStringLiteral(" - ") + worst);
    return verdict;
}

int firstScriptBreak(const QByteArray &raw, bool quotedLine)
{
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (NameRules::breaksLine(raw[i], quotedLine))
            return int(i);
    }
    return -1;
}

} // namespace NameCheck
