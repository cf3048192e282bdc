#pragma once

#include <QFrame>

class CharMapModel;

// The grid box: a 412 x 220 client area inside a 2-pixel border that shows the
// model's kept image and hands mouse and arrow-key events to the model in client
// pixels; a double click or Enter asks for the selected character. The sunken frame is drawn around
// the cells only; the pixels the cell divisions leave over show the window's background.
class GridView : public QFrame
{
    Q_OBJECT

public:
    static constexpr QSize kClientSize{412, 220};

    explicit GridView(CharMapModel &model, QWidget *parent = nullptr);

    // Cells by number, 1 to 224, in the box's own pixels, for a screen reader.
    int cellNumberAt(QPoint pos) const; // 0: none
    QRect cellRect(int number) const;
    QString cellName(int number) const; // "É, U+00C9 LATIN CAPITAL LETTER E WITH ACUTE"
    int selectedNumber() const;

Q_SIGNALS:
    // A double click, or Enter: the selected character is to be added to the name.
    void addRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPoint toClient(QMouseEvent *event) const;
    void modelChanged();

    CharMapModel &m_model;
    int m_announced = 0; // the selection a screen reader was last told of
};
