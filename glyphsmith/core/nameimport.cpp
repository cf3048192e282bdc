// SPDX-License-Identifier: GPL-3.0-or-later
#include "nameimport.h"

#include "modecontroller.h"
#include "namecomposer.h"
#include "namedecoder.h"

namespace NameImport {

Outcome apply(const QByteArray &raw, NameComposer &composer, const ModeController &modes)
{
    const DecodedName decoded = DecodedName::decode(raw, GameModes::mode(modes.mode()).filler);
    QList<NameComposer::Slot> slots;
    for (const DecodedName::Slot &slot : decoded.slots)
        slots.append({slot.text, modes.glyph(slot.cell, slot.colour)});
    composer.setSlots(slots);
    return {int(slots.size()), decoded.unmatched, decoded.truncated, decoded.leftover};
}

} // namespace NameImport
