#pragma once

#include <QWidget>

class QFrame;
class QImage;
class QLabel;

// The character grid (CharMapBG), 263 x 263 pixels: the font picture (CharMap) at
// its top-left corner under the 256 click and hover cells of GridGeometry, and the
// yellow frame (Shape1) over the hovered cell.
class GridWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kSize = 263;

    explicit GridWidget(QWidget *parent = nullptr);

    // `picture` is 256 x 256, laid out as FontPicture describes.
    void setPicture(const QImage &picture);

    void hideHighlight();

Q_SIGNALS:
    // The pointer moved over cell 0..255; the frame is already on it.
    void cellHovered(int cell);
    // Left button pressed and released on the same cell.
    void cellClicked(int cell);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QLabel *m_picture = nullptr;
    QFrame *m_highlight = nullptr;
    int m_pressedCell = -1;
};
