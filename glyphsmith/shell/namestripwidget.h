#pragma once

#include "accessiblecells.h"

#include <QWidget>

class NameComposer;

// The name strip (Picture3), 411 x 26 pixels: paints NameStripImage::render of the
// composer, and turns a click on the selector row (Picture5) into a slot choice.
// It takes the keyboard focus so the slot can be chosen without a mouse: Left,
// Right, Home and End move the selection, Delete asks to clear the current slot and
// Backspace the one before the marker. While it has the focus, a dashed frame
// marks the marker.
class NameStripWidget : public QWidget, public AccessibleCells
{
    Q_OBJECT

public:
    explicit NameStripWidget(const NameComposer &composer, QWidget *parent = nullptr);

    // For a screen reader: the slots, "Slot 3: A" or "Slot 3: blank", the marker's current.
    int cellCount() const override;
    QString cellName(int index) const override;
    QRect cellRect(int index) const override;
    int currentCell() const override;

Q_SIGNALS:
    void slotChosen(int slot); // 1..25
    void deleteRequested();
    void backspaceRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int slotUnder(QPoint point) const; // 0: none
    void nameChanged();

    const NameComposer &m_composer;
    int m_pressedSlot = 0;
    int m_shownSlot = 1;
};
