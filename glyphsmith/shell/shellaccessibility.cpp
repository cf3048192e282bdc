// SPDX-License-Identifier: GPL-3.0-or-later
#include "shellaccessibility.h"

#include "accessiblecells.h"
#include "cp1252.h"
#include "outputbox.h"
#include "sidepanel.h"
#include "statusline.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QWidget>
#include <vector>

namespace {

class CellListAccessible;

// One cell of a list; it has no object of its own, so its list owns it.
class CellAccessible : public QAccessibleInterface
{
public:
    CellAccessible(const CellListAccessible *list, int index) : m_list(list), m_index(index) {}

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
    const CellListAccessible *m_list;
    int m_index;
};

class CellListAccessible : public QAccessibleWidget
{
public:
    CellListAccessible(QWidget *widget, const AccessibleCells *cells)
        : QAccessibleWidget(widget, QAccessible::List), m_cells(cells)
    {}
    ~CellListAccessible() override
    {
        for (QAccessibleInterface *cell : m_children) {
            if (cell)
                QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cell));
        }
    }

    const AccessibleCells *cells() const { return m_cells; }
    QWidget *listWidget() const { return widget(); }

    int childCount() const override { return m_cells->cellCount(); }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (m_children.size() < std::size_t(childCount()))
            m_children.resize(std::size_t(childCount()), nullptr);
        QAccessibleInterface *&cell = m_children[std::size_t(index)];
        if (!cell) {
            cell = new CellAccessible(this, index);
            QAccessible::registerAccessibleInterface(cell);
        }
        return cell;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (std::size_t i = 0; i < m_children.size(); ++i) {
            if (m_children[i] == child)
                return int(i);
        }
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint at = widget()->mapFromGlobal(QPoint(x, y));
        for (int i = 0; i < childCount(); ++i) {
            if (m_cells->cellRect(i).contains(at))
                return child(i);
        }
        return nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        return widget()->hasFocus() ? child(m_cells->currentCell()) : nullptr;
    }

private:
    const AccessibleCells *m_cells;
    mutable std::vector<QAccessibleInterface *> m_children;
};

bool CellAccessible::isValid() const
{
    return m_list->isValid() && m_index < m_list->childCount();
}

QAccessibleInterface *CellAccessible::parent() const
{
    return const_cast<CellListAccessible *>(m_list);
}

QString CellAccessible::text(QAccessible::Text t) const
{
    return t == QAccessible::Name ? m_list->cells()->cellName(m_index) : QString();
}

QRect CellAccessible::rect() const
{
    const QRect local = m_list->cells()->cellRect(m_index);
    return QRect(m_list->listWidget()->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State CellAccessible::state() const
{
    QAccessible::State state;
    state.selectable = true;
    state.focusable = true;
    const bool current = m_list->cells()->currentCell() == m_index;
    state.selected = current;
    state.focused = current && m_list->listWidget()->hasFocus();
    return state;
}

// An output box: read-only text that can be read and selected as a whole.
class OutputAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit OutputAccessible(OutputBox *box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? content() : QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.editable = false;
        return state;
    }
    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return content().mid(start, end - start); }
    int characterCount() const override { return int(content().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int *start, int *end) const override
    {
        *start = *end = offset;
        return {};
    }

private:
    // Control codes read as their symbols, not as nothing.
    QString content() const
    {
        return Cp1252::toDisplay(static_cast<OutputBox *>(widget())->bytes());
    }
};

// A side-panel caption: a button that opens its menu, or copies an output. Asked
// for when the caption is made, before the panel knows which item it is, so it
// asks the panel each time.
class PanelItemAccessible : public QAccessibleWidget
{
public:
    explicit PanelItemAccessible(QWidget *label) : QAccessibleWidget(label, QAccessible::Button) {}

    QAccessible::Role role() const override
    {
        const std::optional<SidePanel::Item> it = item();
        return it && opensMenu(*it) ? QAccessible::ButtonMenu : QAccessible::Button;
    }
    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return static_cast<QLabel *>(widget())->text().remove(QLatin1Char('&'));
        case QAccessible::Accelerator:
            return shortcut();
        default:
            return QAccessibleWidget::text(t);
        }
    }
    QStringList actionNames() const override { return {action()}; }
    void doAction(const QString &name) override
    {
        const std::optional<SidePanel::Item> it = item();
        if (it && name == action())
            panel()->activate(*it);
    }
    QStringList keyBindingsForAction(const QString &name) const override
    {
        return name == action() ? QStringList{shortcut()} : QStringList();
    }

private:
    static bool opensMenu(SidePanel::Item item)
    {
        return item == SidePanel::Item::File || item == SidePanel::Item::GameMode ||
               item == SidePanel::Item::Help;
    }
    SidePanel *panel() const { return qobject_cast<SidePanel *>(widget()->parentWidget()); }
    std::optional<SidePanel::Item> item() const
    {
        const SidePanel *p = panel();
        return p ? p->itemOf(widget()) : std::nullopt;
    }
    QString action() const
    {
        return role() == QAccessible::ButtonMenu ? QAccessibleActionInterface::showMenuAction()
                                                 : QAccessibleActionInterface::pressAction();
    }
    QString shortcut() const
    {
        const std::optional<SidePanel::Item> it = item();
        return it ? QStringLiteral("Alt+") + SidePanel::mnemonic(*it) : QString();
    }
};

// The name check: a status line whose text is its name and whose details (the
// findings by byte) its description.
class StatusAccessible : public QAccessibleWidget
{
public:
    explicit StatusAccessible(StatusLine *line) : QAccessibleWidget(line, QAccessible::StatusBar) {}

    QString text(QAccessible::Text t) const override
    {
        const auto *line = static_cast<StatusLine *>(widget());
        switch (t) {
        case QAccessible::Name:
            return line->accessibleName().isEmpty() ? line->text() : line->accessibleName();
        case QAccessible::Value:
            return line->text();
        case QAccessible::Description:
            return line->toolTip();
        default:
            return QAccessibleWidget::text(t);
        }
    }
};

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    // Asked once per class up the object's hierarchy: answer for its own class only.
    if (!object || !object->isWidgetType() ||
        className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (auto *cells = dynamic_cast<AccessibleCells *>(widget))
        return new CellListAccessible(widget, cells);
    if (auto *box = qobject_cast<OutputBox *>(widget))
        return new OutputAccessible(box);
    if (auto *line = qobject_cast<StatusLine *>(widget))
        return new StatusAccessible(line);
    if (className == QLatin1String(SidePanel::kCaptionClass))
        return new PanelItemAccessible(widget);
    return nullptr;
}

} // namespace

void AccessibleCells::announceCurrent(QWidget *widget, int index)
{
    if (!QAccessible::isActive() || index < 0)
        return;
    QAccessibleEvent focus(widget, QAccessible::Focus);
    focus.setChild(index);
    QAccessible::updateAccessibility(&focus);
}

namespace ShellAccessibility {

void install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace ShellAccessibility
