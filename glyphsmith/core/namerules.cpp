// SPDX-License-Identifier: GPL-3.0-or-later
#include "namerules.h"

#include "ezquakeconsole.h"

#include <climits>

namespace {

using Byte = GameName::Byte;
using Kind = NameFinding::Kind;

uchar u(char c)
{
    return static_cast<uchar>(c);
}

// ASCII only, whatever the locale: the engine rejects bytes past 127 before it asks.
bool isAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The character after a caret that makes a colour code in `family`'s game.
bool isCodeChar(const GameFamily &family, char c)
{
    return family.colourDigitsOnly ? (c >= '0' && c <= '8') : isAlnum(c);
}

QString byteName(char c)
{
    switch (u(c)) {
    case 0:
        return QStringLiteral("code 0");
    case 10:
        return QStringLiteral("the line feed (10)");
    case 13:
        return QStringLiteral("the carriage return (13)");
    case ' ':
        return QStringLiteral("the blank");
    case '"':
        return QStringLiteral("the quote");
    default:
        break;
    }
    if (u(c) > 32 && u(c) < 127)
        return QStringLiteral("'%1'").arg(QLatin1Char(c));
    return QStringLiteral("code %1").arg(u(c));
}

// Program names keep their own spelling: "ezQuake".
QString capitalised(QString s)
{
    if (!s.isEmpty() && !s.startsWith(QLatin1String("ezQuake")))
        s[0] = s[0].toUpper();
    return s;
}

QString quoted(const char *text)
{
    return QStringLiteral("'%1'").arg(QLatin1String(text));
}

QString emptyNameText(const GameFamily &family)
{
    return quoted(family.emptyName) +
           (family.emptyNameNumbered ? QStringLiteral(" and the player's number") : QString());
}

QString refusalEffect(Refusal r, const GameFamily &family)
{
    switch (r) {
    case Refusal::NameEndsThere:
        return QStringLiteral("the name ends there");
    case Refusal::OldNameKept:
        return QStringLiteral("the game keeps the old name");
    case Refusal::NameRefused:
        return QStringLiteral("the game refuses the whole name and keeps the old one");
    case Refusal::PlayerUnnamed:
        return family.emptyName ? QStringLiteral("the player becomes ") + emptyNameText(family)
                                : QStringLiteral("the player has no name");
    case Refusal::NameDropped:
        return QStringLiteral("the player info loses the name, so the player has none");
    case Refusal::ConnectionRefused:
        return QStringLiteral("%1 refuses the connection").arg(QLatin1String(family.actor));
    case Refusal::ByteDropped:
        return QStringLiteral("%1 drops it").arg(QLatin1String(family.actor));
    }
    return {};
}

// What an event rule does, in the words of a finding: both events where they differ.
QString ruleEffect(const EventRule &rule, const GameFamily &family)
{
    const auto effect = [&](Refusal r) {
        const QString actor = QLatin1String(family.actor);
        switch (r) {
        case Refusal::NameEndsThere:
            return rule.match == EventRule::Match::Longer
                       ? QStringLiteral("%1 reads only the first %2").arg(actor).arg(rule.count)
                       : QStringLiteral("the name ends there");
        case Refusal::PlayerUnnamed:
            return QStringLiteral("%1 renames the player %2").arg(actor, emptyNameText(family));
        case Refusal::OldNameKept:
        case Refusal::NameRefused:
            return QStringLiteral("%1 keeps the old name").arg(actor);
        default:
            return refusalEffect(r, family);
        }
    };
    if (rule.connect == rule.change)
        return effect(rule.connect);
    return QStringLiteral("at connect %1; on a change %2")
        .arg(effect(rule.connect), effect(rule.change));
}

QList<Byte> fromText(const char *text)
{
    QList<Byte> bytes;
    for (const char *p = text; *p; ++p)
        bytes.append({*p, -1});
    return bytes;
}

class Tracer
{
public:
    Tracer(const GameFamily &family, NameEvent event, GameName &out)
        : m_family(family), m_event(event), m_out(out)
    {}

    void run(QList<Byte> items);

private:
    void add(Kind kind, int position, const QString &text)
    {
        m_out.findings.append({kind, position, text});
    }
    bool has(Change change) const { return (m_family.changes & change) != 0; }

    void refuse(int position, Refusal refusal, int received);
    bool eventRules(QList<Byte> &items);
    QList<Byte> changeBytes(const QList<Byte> &items);
    void trimBlanks(QList<Byte> &items, bool report = true);
    bool replaceEmpty(QList<Byte> &items);
    void cutToHeld(QList<Byte> &items);
    void cutToShown(QList<Byte> &items);
    void cutAtBytes(QList<Byte> &items);
    void clean(const QList<Byte> &items);
    void cleanColours(QList<Byte> &items);
    bool isCode(const QList<Byte> &items, qsizetype i) const;

    struct Cleaned
    {
        QList<Byte> out;
        int colourless = 0;
        int notBlack = 0; // letters and digits drawn in a colour other than black
        bool stoppedEarly = false;
        int stopFrom = -1;
    };
    Cleaned cleanLoop(const QList<Byte> &items, int outMax, bool report);

    void runSteps(QList<Byte> items);

    const GameFamily &m_family;
    NameEvent m_event;
    GameName &m_out;
    int m_cutByRules = 0; // bytes a rule cut off: still part of the name the player sent
};

const NameLimit *widestCut(const GameFamily &family)
{
    const NameLimit *widest = nullptr;
    for (const NameLimit &limit : family.limits) {
        if (!limit.refuses)
            widest = &limit;
    }
    return widest;
}

QList<int> ruleHits(const EventRule &rule, const QList<Byte> &items)
{
    QList<int> hits;
    const QByteArray bytes(rule.bytes);
    const qsizetype n = items.size();
    for (qsizetype i = 0; i < n; ++i) {
        switch (rule.match) {
        case EventRule::Match::Bytes:
            if (bytes.contains(items[i].byte))
                hits.append(int(i));
            break;
        case EventRule::Match::Pairs:
            for (qsizetype k = 0; i + 1 < n && k + 1 < bytes.size(); k += 2) {
                if (items[i].byte == bytes[k] && items[i + 1].byte == bytes[k + 1]) {
                    hits.append(int(i));
                    break;
                }
            }
            break;
        case EventRule::Match::Separator:
            if (items[i].byte == bytes[0] &&
                (i == 0 || i == n - 1 || items[i - 1].byte == bytes[0] ||
                 items[i + 1].byte == bytes[0]))
                hits.append(int(i));
            break;
        case EventRule::Match::Longer:
            if (i == rule.count)
                hits.append(int(i));
            break;
        }
    }
    return hits;
}

void Tracer::run(QList<Byte> items)
{
    runSteps(items);
    m_out.measured += m_cutByRules;
}

void Tracer::runSteps(QList<Byte> items)
{
    if (!eventRules(items))
        return;
    const int received = int(items.size());

    // The value as set: the cvar and the player info refuse before anything else.
    int firstRefused = -1;
    for (const Byte &b : items) {
        if (m_family.refused.contains(b.byte)) {
            add(Kind::Refused, b.from,
                capitalised(byteName(b.byte)) + QStringLiteral(" in the name: ") +
                    refusalEffect(m_family.refusal, m_family));
            if (firstRefused < 0)
                firstRefused = b.from;
        }
    }
    if (firstRefused >= 0) {
        refuse(firstRefused, m_family.refusal, received);
        return;
    }
    for (const NameLimit &limit : m_family.limits) {
        if (limit.refuses && received > limit.bytes) {
            add(Kind::OverLimit, items[limit.bytes].from,
                QStringLiteral("%1 at most %2 bytes: %3")
                    .arg(capitalised(QLatin1String(limit.where)))
                    .arg(limit.bytes)
                    .arg(refusalEffect(limit.refusal, m_family)));
            refuse(items[limit.bytes].from, limit.refusal, received);
            return;
        }
    }

    items = changeBytes(items);
    if (m_family.colourCodes ||
        (m_family.changes & (DropLeadingBlanks | CollapseBlanks | RemoveBlack))) {
        clean(items);
        return;
    }
    // The servers copy the name into their buffer first and trim what they copied.
    QList<Byte> whole = items;
    trimBlanks(whole, false);
    m_out.measured = int(whole.size());
    cutToHeld(items);
    trimBlanks(items);
    if (replaceEmpty(items)) {
        m_out.bytes = m_out.held = items;
        return;
    }
    cutAtBytes(items);
    m_out.held = items;
    cutToShown(items);
    m_out.bytes = items;
}

// The server's steps where connect and change differ, in its order. False when
// the reading ends here.
bool Tracer::eventRules(QList<Byte> &items)
{
    for (const EventRule &rule : m_family.eventRules) {
        const QList<int> hits = ruleHits(rule, items);
        if (hits.isEmpty())
            continue;
        const Refusal effect = m_event == NameEvent::Connect ? rule.connect : rule.change;
        const QString what = ruleEffect(rule, m_family);
        QString subject;
        switch (rule.match) {
        case EventRule::Match::Bytes:
            break;
        case EventRule::Match::Pairs:
            subject = QStringLiteral("'%1%2' in the name")
                          .arg(QLatin1Char(items[hits[0]].byte))
                          .arg(QLatin1Char(items[hits[0] + 1].byte));
            break;
        case EventRule::Match::Separator:
            subject = QStringLiteral("%1 at an end of the name or next to another")
                          .arg(capitalised(byteName(rule.bytes[0])));
            break;
        case EventRule::Match::Longer:
            subject = QStringLiteral("More than %1 bytes").arg(rule.count);
            break;
        }
        const auto report = [&](int hit) {
            const QString s = subject.isEmpty() ? capitalised(byteName(items[hit].byte)) +
                                                      QStringLiteral(" in the name")
                                                : subject;
            add(effect == Refusal::ByteDropped           ? Kind::Changed
                : rule.match == EventRule::Match::Longer ? Kind::OverLimit
                                                         : Kind::Refused,
                items[hit].from, s + QStringLiteral(": ") + what);
        };

        if (effect == Refusal::ByteDropped) {
            for (qsizetype k = hits.size() - 1; k >= 0; --k) {
                report(hits[k]);
                items.removeAt(hits[k]);
            }
            continue;
        }
        if (effect == Refusal::NameEndsThere) {
            report(hits.first());
            // A length cut only shows in the count and the limits after it.
            if (m_out.refusedAt < 0 && rule.match != EventRule::Match::Longer) {
                m_out.refusedAt = items[hits.first()].from;
                m_out.refusal = Refusal::NameEndsThere;
            }
            m_cutByRules += int(items.size()) - hits.first();
            items.resize(hits.first());
            continue;
        }
        for (int hit : hits)
            report(hit);
        const QString holding = rule.match == EventRule::Match::Pairs
                                    ? QStringLiteral("'%1%2'")
                                          .arg(QLatin1Char(items[hits[0]].byte))
                                          .arg(QLatin1Char(items[hits[0] + 1].byte))
                                    : byteName(items[hits[0]].byte);
        const QString actor = QLatin1String(m_family.actor);
        if (effect == Refusal::PlayerUnnamed)
            m_out.outcome = QStringLiteral("%1 renames a name holding %2 to \"%3\"")
                                .arg(actor, holding, QLatin1String(m_family.emptyName));
        else if (effect == Refusal::ConnectionRefused)
            m_out.outcome =
                QStringLiteral("%1 refuses to connect a name holding %2").arg(actor, holding);
        else
            m_out.outcome = QStringLiteral("%1 keeps the old name").arg(actor);
        const int position =
            rule.match == EventRule::Match::Longer ? rule.count : items[hits[0]].from;
        refuse(position, effect, int(items.size()));
        return false;
    }
    return true;
}

void Tracer::refuse(int position, Refusal refusal, int received)
{
    m_out.refusedAt = position;
    m_out.refusal = refusal;
    m_out.measured = received;
    switch (refusal) {
    case Refusal::OldNameKept:
    case Refusal::NameRefused:
        m_out.oldNameKept = true;
        break;
    case Refusal::PlayerUnnamed:
        if (m_family.emptyName) {
            m_out.bytes = fromText(m_family.emptyName);
            m_out.replaced = true;
        }
        break;
    case Refusal::NameEndsThere:
    case Refusal::NameDropped:
    case Refusal::ConnectionRefused:
    case Refusal::ByteDropped:
        break;
    }
    m_out.held = m_out.bytes;
}

// Byte by byte, as the client's player info and the server's reading pass them.
QList<Byte> Tracer::changeBytes(const QList<Byte> &items)
{
    QList<Byte> out;
    for (Byte b : items) {
        const char original = b.byte;
        if (has(StripHighBit) && u(b.byte) >= 128) {
            b.byte = char(u(b.byte) & 127);
            if (has(DropControls) && (u(b.byte) < 32 || u(b.byte) == 127)) {
                add(Kind::Changed, b.from,
                    QStringLiteral("%1 loses its high bit and, as %2, is dropped")
                        .arg(capitalised(byteName(original)), byteName(b.byte)));
                continue;
            }
            add(Kind::Changed, b.from,
                QStringLiteral("%1 loses its high bit and becomes %2")
                    .arg(capitalised(byteName(original)), byteName(b.byte)));
        }
        if (has(DropControls) && (u(b.byte) < 32 || u(b.byte) == 127)) {
            add(Kind::Changed, b.from,
                capitalised(byteName(b.byte)) + QStringLiteral(" is dropped"));
            continue;
        }
        if (has(DropCodes1To13) && u(b.byte) >= 1 && u(b.byte) <= 13) {
            add(Kind::Changed, b.from,
                capitalised(byteName(b.byte)) + QStringLiteral(" is dropped from the player info"));
            continue;
        }
        if (has(HighAndPercentToDot) && (u(b.byte) >= 128 || b.byte == '%')) {
            add(Kind::Changed, b.from,
                capitalised(byteName(b.byte)) + QStringLiteral(" arrives as '.'"));
            b.byte = '.';
        }
        if (has(BlanksToUnderscores) && b.byte == ' ') {
            add(Kind::Changed, b.from, QStringLiteral("The blank becomes '_'"));
            b.byte = '_';
        }
        out.append(b);
    }
    return out;
}

void Tracer::trimBlanks(QList<Byte> &items, bool report)
{
    if (!has(TrimBlanks))
        return;
    const bool gold = has(TrimGoldBlanks);
    auto blank = [gold](const Byte &b) {
        return b.byte == ' ' || b.byte == '\r' || b.byte == '\n' || (gold && u(b.byte) == 160);
    };
    const auto trim = [&](const Byte &b, const char *where) {
        if (!report)
            return;
        add(Kind::Changed, b.from,
            capitalised(byteName(b.byte)) + QLatin1String(where) + QStringLiteral(" is trimmed"));
        ++m_out.trimmed;
    };
    while (!items.isEmpty() && blank(items.first())) {
        trim(items.first(), " at the start");
        items.removeFirst();
    }
    while (!items.isEmpty() && blank(items.last())) {
        trim(items.last(), " at the end");
        items.removeLast();
    }
}

bool Tracer::replaceEmpty(QList<Byte> &items)
{
    if (!m_family.emptyName)
        return false;
    QByteArray text;
    for (const Byte &b : items)
        text += has(ReservedAnyHighBits) ? char(u(b.byte) & 127) : b.byte;
    const bool reserved =
        m_family.reservedName && text.compare(m_family.reservedName, Qt::CaseInsensitive) == 0;
    if (!text.isEmpty() && !reserved)
        return false;
    const QString actor = QLatin1String(m_family.actor);
    const QString empty = emptyNameText(m_family);
    add(Kind::Changed, 0,
        (reserved ? QStringLiteral("The name %1 is taken: %2 shows %3")
                        .arg(quoted(m_family.reservedName), actor, empty)
                  : QStringLiteral("Nothing is left of the name: %1 shows %2").arg(actor, empty)));
    m_out.outcome = reserved ? QStringLiteral("%1 renames \"%2\" to \"%3\"")
                                   .arg(actor, QLatin1String(m_family.reservedName),
                                        QLatin1String(m_family.emptyName))
                             : QStringLiteral("%1 names the player \"%2\"%3")
                                   .arg(actor, QLatin1String(m_family.emptyName),
                                        m_family.emptyNameNumbered ? QStringLiteral(" and a number")
                                                                   : QString());
    items = fromText(m_family.emptyName);
    m_out.replaced = true;
    return true;
}

void Tracer::cutToHeld(QList<Byte> &items)
{
    const NameLimit *held = widestCut(m_family);
    if (!held || items.size() <= held->bytes)
        return;
    add(Kind::OverLimit, items[held->bytes].from,
        QStringLiteral("%1 %2 bytes: the name is cut here")
            .arg(capitalised(QLatin1String(held->where)))
            .arg(held->bytes));
    items.resize(held->bytes);
}

// The narrower limits only draw less of the name the game holds.
void Tracer::cutToShown(QList<Byte> &items)
{
    const NameLimit *held = widestCut(m_family);
    for (const NameLimit &limit : m_family.limits) {
        if (!limit.refuses && &limit != held && items.size() > limit.bytes) {
            add(Kind::OverLimit, items[limit.bytes].from,
                QStringLiteral("%1 %2 bytes: the name is cut here")
                    .arg(capitalised(QLatin1String(limit.where)))
                    .arg(limit.bytes));
        }
    }
    if (const NameLimit *tight = NameRules::tightestCut(m_family);
        tight && items.size() > tight->bytes)
        items.resize(tight->bytes);
}

void Tracer::cutAtBytes(QList<Byte> &items)
{
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (m_family.cutAt.contains(items[i].byte)) {
            add(Kind::Refused, items[i].from,
                capitalised(byteName(items[i].byte)) + QStringLiteral(" ends the name here"));
            m_out.refusedAt = items[i].from;
            m_out.refusal = Refusal::NameEndsThere;
            items.resize(i);
            return;
        }
    }
}

// ioquake3's ClientCleanName, with every byte traced: leading blanks go, runs
// of blanks stop at three, black colour codes go, and the buffer ends at `outMax`
// bytes. Each byte is written before it is judged, which is why "^^0" leaves "^".
// OpenArena's keeps black and counts the letters and digits outside it.
Tracer::Cleaned Tracer::cleanLoop(const QList<Byte> &items, int outMax, bool report)
{
    auto note = [&](int position, const QString &text) {
        if (report)
            add(Kind::Changed, position, text);
    };
    Cleaned c;
    qsizetype i = 0;
    if (has(DropLeadingBlanks)) {
        for (; i < items.size() && items[i].byte == ' '; ++i)
            note(items[i].from, QStringLiteral("A leading blank is dropped"));
    }
    int spaces = 0;
    bool black = false;
    for (; i < items.size() && c.out.size() < outMax; ++i) {
        const Byte b = items[i];
        if (b.byte == ' ') {
            if (has(CollapseBlanks) && spaces > 2) {
                note(b.from, QStringLiteral("A fourth blank in a row is dropped"));
                continue;
            }
            ++spaces;
        } else if (!c.out.isEmpty() && c.out.last().byte == '^') {
            const bool code = m_family.colourCodes && isCodeChar(m_family, b.byte);
            if (code) {
                --c.colourless;
                black = NameRules::colourIndex(m_family, b.byte) == 0;
                if (has(RemoveBlack) && black) {
                    const Byte caret = c.out.takeLast();
                    const bool doubled = !c.out.isEmpty() && c.out.last().byte == '^' &&
                                         c.out.last().from == caret.from - 1;
                    note(caret.from,
                         doubled
                             ? QStringLiteral("ioquake3 turns ^^%1 into ^").arg(QLatin1Char(b.byte))
                             : QStringLiteral("The colour code ^%1 selects black and is removed")
                                   .arg(QLatin1Char(b.byte)));
                    continue;
                }
            } else {
                spaces = 0;
                ++c.colourless;
            }
        } else {
            spaces = 0;
            ++c.colourless;
            if (!black && isAlnum(b.byte))
                ++c.notBlack;
        }
        c.out.append(b);
    }
    if (i < items.size()) {
        c.stoppedEarly = true;
        c.stopFrom = items[i].from;
    }
    return c;
}

void Tracer::clean(const QList<Byte> &items)
{
    const NameLimit *tight = NameRules::tightestCut(m_family);
    const int outMax = tight ? tight->bytes : INT_MAX;
    const Cleaned whole = cleanLoop(items, INT_MAX, false);
    m_out.measured = int(whole.out.size());
    Cleaned kept = cleanLoop(items, outMax, true);

    if (kept.stoppedEarly) {
        bool same = kept.out.size() == whole.out.size();
        for (qsizetype i = 0; same && i < kept.out.size(); ++i)
            same = kept.out[i].from == whole.out[i].from;
        if (!same && m_out.measured > outMax) {
            add(Kind::OverLimit, kept.stopFrom,
                QStringLiteral("%1 %2 bytes: the name is cut here")
                    .arg(capitalised(QLatin1String(tight->where)))
                    .arg(tight->bytes));
        } else if (!same) {
            add(Kind::Changed, kept.out.last().from,
                QStringLiteral("The game's %1 bytes end inside a black colour code: its caret "
                               "stays and is drawn")
                    .arg(outMax));
        }
    }

    // A caret left over by "^^0" (or met across removed bytes) pairs with whatever
    // follows it in the cleaned name.
    if (has(CleanIfAllBlack) && kept.notBlack == 0)
        cleanColours(kept.out);
    for (qsizetype i = 0; i + 1 < kept.out.size(); ++i) {
        if (!isCode(kept.out, i))
            continue;
        if (kept.out[i + 1].from != kept.out[i].from + 1) {
            add(Kind::Changed, kept.out[i + 1].from,
                QStringLiteral("%1 now follows a caret: the game reads them as a colour code "
                               "and does not draw %1")
                    .arg(byteName(kept.out[i + 1].byte)));
        }
        ++i;
    }

    if (kept.out.isEmpty() || kept.colourless == 0) {
        if (m_family.emptyName) {
            const QString actor = QLatin1String(m_family.actor);
            add(Kind::Changed, items.isEmpty() ? 0 : items.first().from,
                (kept.out.isEmpty()
                     ? QStringLiteral("Nothing is left of the name")
                     : QStringLiteral("Nothing is left of the name but colour codes")) +
                    QStringLiteral(": %1 shows ").arg(actor) + emptyNameText(m_family));
            m_out.outcome =
                QStringLiteral("%1 names the player \"%2\"%3")
                    .arg(actor, QLatin1String(m_family.emptyName),
                         m_family.emptyNameNumbered ? QStringLiteral(" and a number") : QString());
            m_out.bytes = m_out.held = fromText(m_family.emptyName);
            m_out.replaced = true;
            return;
        }
    }
    m_out.bytes = m_out.held = kept.out;
}

bool Tracer::isCode(const QList<Byte> &items, qsizetype i) const
{
    return i + 1 < items.size() && items[i].byte == '^' && isCodeChar(m_family, items[i + 1].byte);
}

// OpenArena's Q_CleanStr, for a name with no letter or digit outside black: every
// colour code goes, and what is not printable ASCII; it looks again while it finds
// codes, since taking one out can make another.
void Tracer::cleanColours(QList<Byte> &items)
{
    const QString why = QStringLiteral("No letter or digit stands outside black, so ");
    for (bool again = true; again;) {
        again = false;
        QList<Byte> out;
        for (qsizetype i = 0; i < items.size(); ++i) {
            if (isCode(items, i)) {
                add(Kind::Changed, items[i].from,
                    why + QStringLiteral("the colour code ^%1 is removed")
                              .arg(QLatin1Char(items[i + 1].byte)));
                again = true;
                ++i;
            } else if (u(items[i].byte) >= 0x20 && u(items[i].byte) <= 0x7E) {
                out.append(items[i]);
            } else {
                add(Kind::Changed, items[i].from,
                    why + byteName(items[i].byte) + QStringLiteral(" is dropped"));
            }
        }
        items = out;
    }
}

} // namespace

namespace NameRules {

const NameLimit *tightestCut(const GameFamily &family)
{
    for (const NameLimit &limit : family.limits) {
        if (!limit.refuses)
            return &limit;
    }
    return nullptr;
}

bool breaksLine(char byte, bool quotedLine)
{
    return byte == 0 || byte == '\n' || byte == '\r' || (quotedLine && byte == '"');
}

bool isColourCode(const QByteArray &name, qsizetype i)
{
    return i >= 0 && i + 1 < name.size() && name[i] == '^' && isAlnum(name[i + 1]);
}

int colourIndex(char c)
{
    return (u(c) - '0') & 7;
}

bool isColourCode(const GameFamily &family, const QByteArray &name, qsizetype i)
{
    return i >= 0 && i + 1 < name.size() && name[i] == '^' && isCodeChar(family, name[i + 1]);
}

int colourIndex(const GameFamily &family, char c)
{
    return family.colourDigitsOnly ? u(c) - '0' : colourIndex(c);
}

GameName apply(const QByteArray &raw, const GameFamily &family, bool quotedLine, NameEvent event)
{
    GameName out;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (!breaksLine(raw[i], quotedLine))
            continue;
        QString text;
        if (raw[i] == 0)
            text = QStringLiteral("Code 0 ends the script: nothing after it in the file runs");
        else if (raw[i] == '"')
            text = QStringLiteral(
                "The quote closes the name early: what follows it runs as console commands");
        else
            text = capitalised(byteName(raw[i])) +
                   QStringLiteral(" ends the command: the rest runs as a new console command");
        out.findings.append({Kind::ScriptBreak, int(i), text});
        if (out.lineBreak < 0)
            out.lineBreak = int(i);
    }

    QList<Byte> items;
    if (!family.known) {
        for (qsizetype i = 0; i < raw.size(); ++i)
            items.append({raw[i], int(i)});
        out.bytes = out.held = items;
        out.measured = int(raw.size());
        return out;
    }
    const qsizetype received = out.lineBreak < 0 ? raw.size() : out.lineBreak;
    if (raw.isEmpty())
        return out;
    const QByteArray line = raw.left(received);
    if (family.highBytesBlankUnquoted && !quotedLine) {
        for (qsizetype i = 0; i < line.size(); ++i) {
            if (u(line[i]) >= 128)
                out.findings.append(
                    {Kind::ScriptBreak, int(i),
                     QStringLiteral("Outside quotes the game reads %1 as a blank: the line "
                                    "must quote the name")
                         .arg(byteName(line[i]))});
        }
    }
    if (family.ezQuakeEscapes) {
        // Reported, not applied: the console line's escapes bring the bytes through.
        for (const EzQuakeConsole::Escape &e : EzQuakeConsole::escapes(line)) {
            const QByteArray seen = line.mid(e.position, e.length);
            out.findings.append(
                {Kind::Escape, e.position,
                 QStringLiteral("ezQuake reads '%1' as %2 and sends that: its console line "
                                "writes each '%3' of the name as '$%3'")
                     .arg(QString::fromLatin1(seen), byteName(e.byte),
                          QString(QLatin1Char(seen[0])))});
        }
    }
    for (qsizetype i = 0; i < received; ++i)
        items.append({raw[i], int(i)});
    Tracer(family, event, out).run(items);
    return out;
}

NameOutcome outcome(const QByteArray &sent, const GameFamily &family, NameEvent event)
{
    // The player info is a C string: nothing after a code 0 reaches the game.
    const qsizetype end = sent.indexOf('\0');
    const QByteArray carried = end < 0 ? sent : sent.left(end);
    if (!family.known)
        return {NameOutcome::Result::Kept, carried};
    GameName traced;
    QList<Byte> items;
    for (qsizetype i = 0; i < carried.size(); ++i)
        items.append({carried[i], int(i)});
    Tracer(family, event, traced).run(items);

    QByteArray held;
    for (const Byte &b : traced.held)
        held += b.byte;
    const bool stopped = traced.refusedAt >= 0 && traced.refusal != Refusal::NameEndsThere;
    if (stopped && traced.refusal == Refusal::ConnectionRefused)
        return {NameOutcome::Result::ConnectionRefused, {}};
    if (traced.oldNameKept)
        return {NameOutcome::Result::OldNameKept, {}};
    if (traced.replaced)
        return {NameOutcome::Result::Renamed, held};
    if (held.isEmpty())
        return {NameOutcome::Result::NoName, {}};
    return {NameOutcome::Result::Kept, held};
}

} // namespace NameRules
