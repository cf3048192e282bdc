#include "namecomposer.h"

#include "gridgeometry.h"

NameComposer::NameComposer(QObject *parent) : QObject(parent)
{
    m_texts.fill(QByteArray(" "));
}

void NameComposer::applyFiller(TableFiller filler)
{
    m_table = GlyphTables::table(filler);
    m_framing = GlyphTables::framing(filler);
    m_hasMode = true;
    if (filler == TableFiller::Quake3) {
        m_colorCode = "^7";
        m_colorUsed = false;
    }
    // After the framing, so the empty name is shown in the new mode's framing.
    newName();
}

QString NameComposer::clickCell(int cell, const QImage &fontPicture)
{
    if (cell < 0 || cell >= GridGeometry::kCells)
        return {};
    const QPoint origin = GridGeometry::glyphOrigin(cell);
    QImage glyph =
        fontPicture.copy(origin.x(), origin.y(), GridGeometry::kGlyph, GridGeometry::kGlyph);
    return addChar(m_table[cell], glyph);
}

QString NameComposer::addChar(const QByteArray &selChar, const QImage &glyph)
{
    // Past the end, a new character replaces the one in slot 25.
    if (m_namePos > kSlots)
        m_namePos = kSlots;
    const int index = m_namePos - 1;
    m_glyphs[index] = glyph;

    QString error;
    if (!m_hasMode)
        error = QStringLiteral("ERROR - Could not determine game.");
    else if (m_framing.colourCodes && !m_colorUsed)
        m_texts[index] = m_colorCode + selChar;
    else
        m_texts[index] = selChar;

    ++m_namePos;
    m_colorUsed = true;
    Q_EMIT nameChanged();
    return error;
}

void NameComposer::setSlots(const QList<Slot> &slots)
{
    m_texts.fill(QByteArray(" "));
    for (QImage &glyph : m_glyphs)
        glyph = QImage();
    const int count = qMin(int(slots.size()), kSlots);
    for (int i = 0; i < count; ++i) {
        m_texts[i] = slots[i].text;
        m_glyphs[i] = slots[i].glyph;
    }
    m_namePos = count + 1;
    m_colorUsed = true;
    Q_EMIT nameChanged();
}

void NameComposer::newName()
{
    m_namePos = 1;
    for (QImage &glyph : m_glyphs)
        glyph = QImage();
    m_texts.fill(QByteArray(" "));
    Q_EMIT nameChanged();
}

void NameComposer::deleteChar()
{
    // Right after slot 25 was filled the marker still stands under it.
    const int index = qMin(m_namePos, kSlots) - 1;
    m_texts[index] = " ";
    m_glyphs[index] = QImage();
    Q_EMIT nameChanged();
}

void NameComposer::deleteCharBefore()
{
    const int slot = m_namePos - 1;
    if (slot < 1)
        return;
    m_namePos = slot;
    m_texts[slot - 1] = " ";
    m_glyphs[slot - 1] = QImage();
    Q_EMIT nameChanged();
}

void NameComposer::selectSlot(int slot)
{
    if (slot < 1 || slot > kSlots)
        return;
    m_namePos = slot;
    Q_EMIT nameChanged();
}

void NameComposer::setColorCode(const QByteArray &code)
{
    m_colorCode = code;
    m_colorUsed = false;
}

int NameComposer::markerLeft() const
{
    return GridGeometry::slotLeft(qMin(m_namePos, kSlots));
}

QByteArray NameComposer::slotText(int slot) const
{
    if (slot < 1 || slot > kSlots)
        return {};
    return m_texts[slot - 1];
}

QImage NameComposer::slotGlyph(int slot) const
{
    if (slot < 1 || slot > kSlots)
        return {};
    return m_glyphs[slot - 1];
}

int NameComposer::slotOfRawByte(int position) const
{
    int end = 0;
    for (int slot = 1; slot <= kSlots; ++slot) {
        end += int(m_texts[slot - 1].size());
        if (position >= 0 && position < end)
            return position < int(rawName().size()) ? slot : 0;
    }
    return 0;
}

QByteArray NameComposer::rawName() const
{
    QByteArray joined;
    for (const QByteArray &text : m_texts)
        joined += text;
    qsizetype end = joined.size();
    while (end > 0 && joined.at(end - 1) == ' ')
        --end;
    joined.truncate(end);
    return joined;
}
