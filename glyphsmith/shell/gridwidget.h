#pragma once

#include "accessiblecells.h"

#include <QStringList>
#include <QWidget>

class CellMarker;
class PictureView;
class QImage;

// The character grid (CharMapBG), 263 x 263 pixels: the font picture (CharMap) at
// its top-left corner, drawn pixel for pixel at any scale, under the 256 click and
// hover cells of GridGeometry, and the yellow frame (Shape1) over the hovered cell.
// It takes the keyboard focus: the arrow keys move a cursor over the cells,
// previewing each as a hover does, and Enter or Space adds the cell under it, as a
// click does. While it has the focus, and only then, a dashed mark (FocusMark)
// shows the cursor's cell, or frames the picture before there is a cursor.
class GridWidget : public QWidget, public AccessibleCells
{
    Q_OBJECT

public:
    static constexpr int kSize = 263;

    explicit GridWidget(QWidget *parent = nullptr);

    // `picture` is 256 x 256, laid out as FontPicture describes.
    void setPicture(const QImage &picture);
    const QImage &picture() const;

    void hideHighlight();

    // The cell the keyboard acts on, or -1 before the first hover or key.
    int cursorCell() const { return m_cursor; }

    // What each cell is called for a screen reader (its number and what it adds).
    void setCellNames(const QStringList &names) { m_cellNames = names; }

    int cellCount() const override;
    QString cellName(int index) const override { return m_cellNames.value(index); }
    QRect cellRect(int index) const override;
    int currentCell() const override { return m_cursor; }

Q_SIGNALS:
    // The pointer moved over cell 0..255, or the keyboard cursor onto it; the frame
    // is already on it.
    void cellHovered(int cell);
    // Left button pressed and released on the same cell, or Enter/Space on the cursor.
    void cellClicked(int cell);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void showCell(int cell);
    void showFocusMark();

    PictureView *m_picture = nullptr;
    CellMarker *m_highlight = nullptr;
    CellMarker *m_focusMark = nullptr;
    int m_pressedCell = -1;
    int m_cursor = -1;
    QStringList m_cellNames;
};
