// SPDX-License-Identifier: GPL-3.0-or-later
#include "namecheck.h"

#include <algorithm>

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
                   ? QStringLiteral("the player becomes %1").arg(QLatin1String(family.emptyName))
                   : QStringLiteral("the player has no name");
    case Refusal::NameDropped:
        return QStringLiteral("the player has no name");
    }
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
    const GameName traced = NameRules::apply(raw, family, quotedLine);
    // The tooltip lists them along the name.
    verdict.findings = traced.findings;
    std::stable_sort(
        verdict.findings.begin(), verdict.findings.end(),
        [](const NameFinding &a, const NameFinding &b) { return a.position < b.position; });
    verdict.fine = verdict.findings.isEmpty();

    const QString lineBreak =
        traced.lineBreak < 0
            ? QString()
            : QStringLiteral("the script line breaks at byte %1").arg(traced.lineBreak + 1);
    if (!family.known) {
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
    qsizetype changed = 0;
    bool overLimit = false;
    for (const NameFinding &f : traced.findings) {
        changed += f.kind == Kind::Changed;
        overLimit = overLimit || f.kind == Kind::OverLimit;
    }
    QString worst;
    if (!lineBreak.isEmpty())
        worst = lineBreak;
    else if (traced.refusedAt >= 0)
        worst = refusalSummary(traced, family);
    else if (traced.replaced)
        worst = QStringLiteral("the game shows %1").arg(QLatin1String(family.emptyName));
    else if (changed == 1)
        worst = QStringLiteral("the game changes 1 byte");
    else if (changed > 1)
        worst = QStringLiteral("the game changes %1 bytes").arg(changed);
    else if (!overLimit)
        worst = QStringLiteral("fine");
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
