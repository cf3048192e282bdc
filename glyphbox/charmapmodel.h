#pragma once

#include "cellgeometry.h"
#include "gridcanvas.h"

#include <QObject>
#include <QPoint>
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
        QString family;    // the font it was drawn in, at kMagnifierPointSize
    };
    static constexpr int kMagnifierPointSize = 18;

    CharMapModel(QSize gridClient, QColor highlight, QObject *parent = nullptr);

    // Redraws the grid in `family` and nothing else.
    void drawGrid(const QString &family);
    // A new font for the grid and the magnifier; the selected cell is highlighted
    // again, since the redraw erased it.
    void changeFont(const QString &family);

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
    const Magnifier &magnifier() const { return m_magnifier; }
    // Empty until a cell has been shown.
    QString keystroke() const { return m_keystroke; }

Q_SIGNALS:
    void changed();
    void pointerVisibilityChanged(bool visible);

private:
    CellGeometry::Cell selectedCell() const;
    void select(CellGeometry::Cell cell);
    void placeMagnifier(CellGeometry::Cell cell);
    void drawIntoMagnifier(const QString &character);
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
    QString m_magnifierFamily;
    QString m_keystroke;
};
