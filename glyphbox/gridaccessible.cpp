// SPDX-License-Identifier: GPL-3.0-or-later
#include "gridaccessible.h"

#include "cellgeometry.h"
#include "gridview.h"

#include <QAccessibleWidget>
#include <array>

namespace {

class GridListAccessible;

// One character cell; it has no object of its own, so the list owns it.
class CharacterAccessible : public QAccessibleInterface
{
public:
    CharacterAccessible(const GridListAccessible *list, int number) : m_list(list), m_number(number)
    {}

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;

private:
    const GridListAccessible *m_list;
    int m_number; // 1 to 224
};

class GridListAccessible : public QAccessibleWidget
{
public:
    explicit GridListAccessible(GridView *grid) : QAccessibleWidget(grid, QAccessible::List) {}
    ~GridListAccessible() override
    {
        for (QAccessibleInterface *cell : m_cells) {
            if (cell)
                QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cell));
        }
    }

    GridView *grid() const { return static_cast<GridView *>(widget()); }

    int childCount() const override { return CellGeometry::kCellCount; }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        QAccessibleInterface *&cell = m_cells[std::size_t(index)];
        if (!cell) {
            cell = new CharacterAccessible(this, index + 1);
            QAccessible::registerAccessibleInterface(cell);
        }
        return cell;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto found = std::find(m_cells.begin(), m_cells.end(), child);
        return found == m_cells.end() ? -1 : int(found - m_cells.begin());
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const int number = grid()->cellNumberAt(grid()->mapFromGlobal(QPoint(x, y)));
        return number > 0 ? child(number - 1) : nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        return grid()->hasFocus() ? child(grid()->selectedNumber() - 1) : nullptr;
    }

private:
    mutable std::array<QAccessibleInterface *, CellGeometry::kCellCount> m_cells{};
};

bool CharacterAccessible::isValid() const
{
    return m_list->isValid();
}

QAccessibleInterface *CharacterAccessible::parent() const
{
    return const_cast<GridListAccessible *>(m_list);
}

QString CharacterAccessible::text(QAccessible::Text t) const
{
    return t == QAccessible::Name ? m_list->grid()->cellName(m_number) : QString();
}

QRect CharacterAccessible::rect() const
{
    const QRect local = m_list->grid()->cellRect(m_number);
    return QRect(m_list->grid()->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State CharacterAccessible::state() const
{
    QAccessible::State state;
    state.selectable = true;
    state.focusable = true;
    state.selected = m_list->grid()->selectedNumber() == m_number;
    state.focused = state.selected && m_list->grid()->hasFocus();
    return state;
}

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (className == QLatin1String("GridView"))
        if (auto *grid = qobject_cast<GridView *>(object))
            return new GridListAccessible(grid);
    return nullptr;
}

} // namespace

namespace GridAccessible {

void install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace GridAccessible
