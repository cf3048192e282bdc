// SPDX-License-Identifier: GPL-3.0-or-later
#include "namerules.h"

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

QString capitalised(QString s)
{
    if (!s.isEmpty())
        s[0] = s[0].toUpper();
    return s;
}

QString quoted(const char *text)
{
    return QStringLiteral("'%1'").arg(QLatin1String(text));
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
        return family.emptyName ? QStringLiteral("the player becomes ") + quoted(family.emptyName)
                                : QStringLiteral("the player has no name");
    case Refusal::NameDropped:
        return QStringLiteral("the player info loses the name, so the player has none");
    }
    return {};
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
    Tracer(const GameFamily &family, GameName &out) : m_family(family), m_out(out) {}

    void run(QList<Byte> items);

private:
    void add(Kind kind, int position, const QString &text)
    {
        m_out.findings.append({kind, position, text});
    }
    bool has(Change change) const { return (m_family.changes & change) != 0; }

    void refuse(int position, Refusal refusal, int received);
    QList<Byte> changeBytes(const QList<Byte> &items);
    void trimBlanks(QList<Byte> &items);
    bool replaceEmpty(QList<Byte> &items);
    void cutToLimits(QList<Byte> &items);
    void cutAtBytes(QList<Byte> &items);
    void clean(const QList<Byte> &items);

    struct Cleaned
    {
        QList<Byte> out;
        int colourless = 0;
        bool stoppedEarly = false;
        int stopFrom = -1;
    };
    Cleaned cleanLoop(const QList<Byte> &items, int outMax, bool report);

    const GameFamily &m_family;
    GameName &m_out;
};

void Tracer::run(QList<Byte> items)
{
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
    trimBlanks(items);
    m_out.measured = int(items.size());
    if (replaceEmpty(items)) {
        m_out.bytes = items;
        return;
    }
    cutToLimits(items);
    cutAtBytes(items);
    m_out.bytes = items;
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
        break;
    }
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

void Tracer::trimBlanks(QList<Byte> &items)
{
    if (!has(TrimBlanks))
        return;
    auto blank = [](const Byte &b) { return b.byte == ' ' || b.byte == '\r' || b.byte == '\n'; };
    while (!items.isEmpty() && blank(items.first())) {
        add(Kind::Changed, items.first().from,
            capitalised(byteName(items.first().byte)) + QStringLiteral(" at the start is trimmed"));
        items.removeFirst();
    }
    while (!items.isEmpty() && blank(items.last())) {
        add(Kind::Changed, items.last().from,
            capitalised(byteName(items.last().byte)) + QStringLiteral(" at the end is trimmed"));
        items.removeLast();
    }
}

bool Tracer::replaceEmpty(QList<Byte> &items)
{
    if (!m_family.emptyName)
        return false;
    QByteArray text;
    for (const Byte &b : items)
        text += b.byte;
    const bool reserved =
        m_family.reservedName && text.compare(m_family.reservedName, Qt::CaseInsensitive) == 0;
    if (!text.isEmpty() && !reserved)
        return false;
    add(Kind::Changed, 0,
        (reserved ? QStringLiteral("The name %1 is taken by the game: it shows %2")
                        .arg(quoted(m_family.reservedName), quoted(m_family.emptyName))
                  : QStringLiteral("Nothing is left of the name: the game shows %1")
                        .arg(quoted(m_family.emptyName))));
    items = fromText(m_family.emptyName);
    m_out.replaced = true;
    return true;
}

void Tracer::cutToLimits(QList<Byte> &items)
{
    for (const NameLimit &limit : m_family.limits) {
        if (!limit.refuses && items.size() > limit.bytes) {
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
    for (; i < items.size() && c.out.size() < outMax; ++i) {
        const Byte b = items[i];
        if (b.byte == ' ') {
            if (has(CollapseBlanks) && spaces > 2) {
                note(b.from, QStringLiteral("A fourth blank in a row is dropped"));
                continue;
            }
            ++spaces;
        } else if (!c.out.isEmpty() && c.out.last().byte == '^') {
            const bool code = m_family.colourCodes && isAlnum(b.byte);
            if (code) {
                --c.colourless;
                if (has(RemoveBlack) && NameRules::colourIndex(b.byte) == 0) {
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
    for (qsizetype i = 0; i + 1 < kept.out.size(); ++i) {
        if (kept.out[i].byte != '^' || !isAlnum(kept.out[i + 1].byte))
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
            add(Kind::Changed, items.isEmpty() ? 0 : items.first().from,
                (kept.out.isEmpty()
                     ? QStringLiteral("Nothing is left of the name")
                     : QStringLiteral("Nothing is left of the name but colour codes")) +
                    QStringLiteral(": the game shows ") + quoted(m_family.emptyName));
            m_out.bytes = fromText(m_family.emptyName);
            m_out.replaced = true;
            return;
        }
    }
    m_out.bytes = kept.out;
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

GameName apply(const QByteArray &raw, const GameFamily &family, bool quotedLine)
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
        out.bytes = items;
        out.measured = int(raw.size());
        return out;
    }
    const qsizetype received = out.lineBreak < 0 ? raw.size() : out.lineBreak;
    if (raw.isEmpty())
        return out;
    for (qsizetype i = 0; i < received; ++i)
        items.append({raw[i], int(i)});
    Tracer(family, out).run(items);
    return out;
}

} // namespace NameRules
