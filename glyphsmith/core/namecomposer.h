#pragma once

#include "glyphtables.h"

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <array>

// The name under composition: 25 slots, each a text (the character in the game's
// notation, one blank when empty) and a 16 x 16 glyph copied from the font picture,
// the current position, and the two output texts (Raw Source Code, Command Line).
// Slots are numbered 1 to 25; positions are pixels in the name strip.
class NameComposer : public QObject
{
    Q_OBJECT

public:
    static constexpr int kSlots = 25;

    explicit NameComposer(QObject *parent = nullptr);

    // Enters a table filler: table, game type and framing (and, for Quake III, the
    // white colour code still to be used), then a new name. The Command Line then
    // shows the new framing around an empty name.
    void applyFiller(TableFiller filler);

    // A click on grid cell 0..255: selects that cell's glyph-table entry and adds it
    // with the glyph from `fontPicture` (256 x 256). Returns an error message for
    // the user, or the empty text.
    QString clickCell(int cell, const QImage &fontPicture);

    struct Slot
    {
        QByteArray text; // the slot's text, colour code included
        QImage glyph;    // 16 x 16
    };
    // Replaces the name with `slots` (the first 25) as if each had been clicked in
    // turn: the other slots are blank, the marker stands after the last one, and a
    // pending colour counts as written.
    void setSlots(const QList<Slot> &slots);

    void newName();
    void deleteChar(); // clears slot namePos (slot 25 when past the end)
    // Backspace: clears the slot before the marker (slot 25 when past the end) and
    // moves the marker onto it; later slots keep their places, as with deleteChar.
    // Nothing happens at slot 1.
    void deleteCharBefore();
    void selectSlot(int slot); // 1..25; anything else is ignored

    // Quake III colour pick: `code` goes in front of the next character.
    void setColorCode(const QByteArray &code);

    int namePos() const { return m_namePos; } // 1..25, or 26 right after slot 25 was filled
    int markerLeft() const;                   // pixels: (slot - 1) x 16, never past slot 25
    QByteArray slotText(int slot) const;
    QImage slotGlyph(int slot) const; // null image: blank
    // The slot texts joined, trailing blanks removed: what the Raw Source box shows.
    QByteArray rawName() const;
    // The slot (1..25) whose text holds byte `position` (from 0) of the raw name,
    // or 0 past its end.
    int slotOfRawByte(int position) const;
    // The framing around the raw name: what the Command Line box shows.
    QByteArray commandText() const { return m_framing.prefix + rawName() + m_framing.suffix; }

    bool colourCodes() const { return m_framing.colourCodes; }
    QByteArray cmdPrefix() const { return m_framing.prefix; }
    QByteArray cmdSuffix() const { return m_framing.suffix; }
    QByteArray colorCode() const { return m_colorCode; }
    bool colorUsed() const { return m_colorUsed; }
    const GlyphTable &table() const { return m_table; }

Q_SIGNALS:
    void nameChanged(); // slots, position or outputs changed

private:
    QString addChar(const QByteArray &selChar, const QImage &glyph);

    GlyphTable m_table;
    Framing m_framing;
    bool m_hasMode = false; // no mode yet: adding reports the error
    std::array<QByteArray, kSlots> m_texts;
    std::array<QImage, kSlots> m_glyphs;
    int m_namePos = 1;
    QByteArray m_colorCode = "^7";
    bool m_colorUsed = true;
};
