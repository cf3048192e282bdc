#pragma once

#include "cellgeometry.h"
#include "gridcanvas.h"

#include <QObject>
#include <QPoint>
#include <QRawFont>
#include <QString>
#include <optional>

// The character map without widgets: selection, the grid's kept image, the
// magnifier and the pointer. Widgets forward their events here and redraw from
// the state on changed(). Positions are pixels of the grid's client area, except
// the magnifier's, which is in the window's coordinates.
class CharMapModel : public QObject
{
    Q_OBJECT

public:
    struct Magnifier
    {
        bool visible = false;
        QPoint topLeft{48, 104};
        QString character; // what was last drawn into it
        QRawFont font;     // the font it was drawn in
        quint32 glyph = 0; // the character's glyph in that font; 0 if it has none
        QString name;      // the character's code point and Unicode name
    };
    // The magnifier draws up to the design's 18 points (24 pixels), smaller where
    // the font's widest glyph would not fit its client width less a pixel each side.
    static constexpr int kMagnifierMaxPixels = 24;
    static constexpr int kMagnifierRoom = 27;

    // `pixelRatio`: device pixels to a pixel of the grid, for a sharp grid image.
    CharMapModel(QSize gridClient, QColor highlight, QColor highlightedText = Qt::white,
                 qreal pixelRatio = 1, QObject *parent = nullptr);

    // Redraws the grid in `font`'s family and nothing else.
    void drawGrid(const QFont &font);
    // A new family for the grid and the magnifier, given as a font already in use
    // (the name text's); the selected cell is highlighted again, since the redraw
    // erased it, and the magnifier's character is drawn again in the new family
    // (or not at all where it lacks it), shown or not as it was.
    void changeFont(const QFont &font);

    // `button` Qt::NoButton is a press that is not the right button's.
    void press(Qt::MouseButton button, QPoint pos);
    void move(QPoint pos);
    void release();
    // Arrow keys move the selection; returns false for keys that do not act.
    bool keyPress(int key);

    // Cell number 1 to 224: the character that is inserted into the name.
    int selIndex() const { return m_selIndex; }
    void setSelIndex(int number);
    unsigned char selectedCode() const;

    std::optional<int> selCol() const { return m_selCol; }
    std::optional<int> selRow() const { return m_selRow; }
    bool pressed() const { return m_pressed; }
    // Whether this model last left the pointer shown (its own flag) ...
    bool pointerShown() const { return m_pointerShown; }
    // ... and whether the pointer is hidden right now.
    bool pointerHidden() const { return m_pointerHidden; }

    QSize cellSize() const { return m_canvas.cellSize(); }
    const QImage &gridImage() const { return m_canvas.image(); }
    bool hasGlyph(CellGeometry::Cell cell) const { return m_canvas.hasGlyph(cell); }
    // The cell character's code point and Unicode name, and whether the font lacks it.
    QString describe(CellGeometry::Cell cell) const;
    // describe() of the selected cell (the space before any selection).
    QString selectedName() const { return describe(selectedCell()); }
    const Magnifier &magnifier() const { return m_magnifier; }
    // Empty until a cell has been shown.
    QString keystroke() const { return m_keystroke; }
    // The indicator's tooltip: the character's name and how to type it here.
    QString keystrokeHint() const { return m_keystrokeHint; }

Q_SIGNALS:
    void changed();
    void pointerVisibilityChanged(bool visible);

private:
    CellGeometry::Cell selectedCell() const;
    void select(CellGeometry::Cell cell);
    void placeMagnifier(CellGeometry::Cell cell);
    void drawIntoMagnifier(CellGeometry::Cell cell);
    void showKeystroke(CellGeometry::Cell cell);
    void hidePointer();
    void showPointer();

    GridCanvas m_canvas;
    std::optional<int> m_selCol;
    std::optional<int> m_selRow;
    int m_selIndex = 1;
    bool m_pressed = false;
    bool m_pointerShown = false;
    bool m_pointerHidden = false;
    std::optional<CellGeometry::Cell> m_lastDrag;
    Magnifier m_magnifier;
    std::optional<CellGeometry::Cell> m_magnifierCell; // whose character it holds
    QRawFont m_magnifierFont;
    QString m_keystroke;
    QString m_keystrokeHint;
};
