// SPDX-License-Identifier: GPL-3.0-or-later
#include "ingamename.h"

#include "namerules.h"

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

InGameName InGameName::render(const QByteArray &raw, const GameFamily &family, bool quotedLine,
                              NameEvent event)
{
    const GameName game = NameRules::apply(raw, family, quotedLine, event);
    InGameName view;
    view.oldNameKept = game.oldNameKept;
    view.connectionRefused = game.refusedAt >= 0 && game.refusal == Refusal::ConnectionRefused;
    view.replaced = game.replaced;
    view.lineBreak = game.lineBreak;

    QByteArray bytes;
    QList<int> from;
    for (const GameName::Byte &b : game.bytes) {
        bytes += b.byte;
        from.append(b.from);
    }

    if (family.hexPairs) {
        // Where a pair is not hexadecimal the server's reading is not known: the
        // bytes are drawn as they are.
        for (qsizetype i = 0; i < bytes.size();) {
            const int high = hexDigit(bytes[i]);
            const int low = i + 1 < bytes.size() ? hexDigit(bytes[i + 1]) : -1;
            if (high >= 0 && low >= 0) {
                view.glyphs.append({uchar(high * 16 + low), -1, from[i]});
                i += 2;
            } else {
                view.glyphs.append({uchar(bytes[i]), -1, from[i]});
                ++i;
            }
        }
        return view;
    }

    int colour = family.colourCodes ? 7 : -1;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (family.colourCodes && NameRules::isColourCode(family, bytes, i)) {
            colour = NameRules::colourIndex(family, bytes[i + 1]);
            ++i;
            continue;
        }
        view.glyphs.append({uchar(bytes[i]), colour, from[i]});
    }
    return view;
}
