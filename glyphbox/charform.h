#pragma once

#include "charmapmodel.h"
#include "keystore.h"

#include <QWidget>
#include <optional>

class GridView;
class MagnifierView;
class Prompts;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The character map's one window, 527 x 353 client pixels, fixed. Builds the
// controls at their pixel positions and runs the start-up sequence; the work is
// done by CharMapModel and IcqSave.
class CharForm : public QWidget
{
    Q_OBJECT

public:
    // `store` receives the ICQ saves; `prompts` asks every question.
    CharForm(Prompts &prompts, KeyStore store, QWidget *parent = nullptr);
    ~CharForm() override;

    CharMapModel &model() { return m_model; }

    // Replaces the name's selection (or inserts at the caret) with the selected
    // cell's character.
    void insertText();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // `families` as the list shows them.
    void fillFontList(const QStringList &families);
    void changeFont(int index);
    void refresh();
    // What the grid's tooltip says at `gridPos` (the grid box's own pixels): the
    // magnifier's or the cell's character name; empty outside both.
    QString toolTipAt(QPoint gridPos) const;
    void setPointerVisible(bool visible);
    void copyName();
    void saveToIcq();

    Prompts &m_prompts;
    KeyStore m_store;
    CharMapModel m_model;

    QComboBox *m_fonts = nullptr;
    QLineEdit *m_name = nullptr;
    QPushButton *m_copy = nullptr;
    QLabel *m_keystroke = nullptr;
    QLabel *m_charName = nullptr;
    GridView *m_grid = nullptr;
    MagnifierView *m_magnifier = nullptr;
    QWidget *m_shadow = nullptr;

    bool m_pointerOverridden = false;
    // The name's selection when it lost the focus: a line edit drops it then, but
    // "Add Char." must still replace it.
    std::optional<std::pair<int, int>> m_savedSelection;
};
