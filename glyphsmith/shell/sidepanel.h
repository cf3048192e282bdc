#pragma once

#include <QPixmap>
#include <QWidget>
#include <array>
#include <optional>

class QFrame;
class QLabel;

// The black panel along the window's left edge (Picture7), 134 pixels wide: five
// yellow labels that stand in for a menu bar, the yellow hover frame (Shape2) over
// the label under the pointer, and a few decorative bitmaps.
class SidePanel : public QWidget
{
    Q_OBJECT

public:
    enum class Item { File, GameMode, CopyRaw, CopyCommand, Help };
    static constexpr int kItems = 5;
    static constexpr int kWidth = 134;
    // The class of the five captions, which a screen reader sees as buttons.
    static constexpr const char *kCaptionClass = "CaptionLabel";

    explicit SidePanel(QWidget *parent = nullptr);

    QLabel *label(Item item) const { return m_labels[static_cast<int>(item)]; }

    // The letter that Alt combines with to act as a click on the item ('F' for "&File").
    static QChar mnemonic(Item item);

    // Where a menu opened from the keyboard appears: just below the label, global pixels.
    QPoint menuAnchor(Item item) const;

    void hideHighlight();

    // The item `label` stands for, if it is one of the panel's.
    std::optional<Item> itemOf(const QObject *label) const;
    // Chooses `item` as the keyboard does (a screen reader's press): itemActivated.
    void activate(Item item);

Q_SIGNALS:
    void itemClicked(SidePanel::Item item);
    void itemActivated(SidePanel::Item item);
    // The pointer moved over the bare panel, not over a label.
    void backgroundHovered();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    std::array<QLabel *, kItems> m_labels{};
    QFrame *m_highlight = nullptr;
    QPixmap m_anvil;
    QPixmap m_sparks;
    QPixmap m_blocks;
};
