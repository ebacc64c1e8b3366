#include "TrellisAccessible.h"

#include "TrellisCellView.h"
#include <trellis/TreeMenuTableView.h>
#include <trellis/TrellisController.h>
#include <trellis/TrellisItemSlider.h>

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QApplication>

namespace {

QString kindName(const TrellisItem *item)
{
    switch (item->type()) {
    case TrellisItemTypeTextEdit:
        return QStringLiteral("text field");
    case TrellisItemTypeHotKey:
        return QStringLiteral("hot key");
    case TrellisItemTypeCheckBox:
        return QStringLiteral("check box");
    case TrellisItemTypeSlider:
        return QStringLiteral("slider");
    case TrellisItemTypeRadioGroup:
        return QStringLiteral("radio button");
    default:
        return item->subMenu() ? QStringLiteral("sub-menu") : QStringLiteral("menu item");
    }
}

QString valueText(const TrellisItem *item)
{
    switch (item->type()) {
    case TrellisItemTypeCheckBox:
        return item->value().toBool() ? QStringLiteral("checked") : QStringLiteral("not checked");
    case TrellisItemTypeRadioGroup:
        return item->value().toBool() ? QStringLiteral("selected") : QStringLiteral("not selected");
    case TrellisItemTypeSlider:
    case TrellisItemTypeTextEdit:
    case TrellisItemTypeHotKey:
        return item->value().toString();
    default:
        return {};
    }
}

// One row of a menu table; its object is the row's view.
class RowAccessible : public QAccessibleInterface, public QAccessibleValueInterface
{
public:
    RowAccessible(TreeMenuTableView *table, TrellisCellView *cell) : m_table(table), m_cell(cell) {}

    bool isValid() const override { return m_table && m_cell && m_cell->menuItem; }
    QObject *object() const override { return m_cell; }
    QWindow *window() const override
    {
        return m_table ? m_table->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_table);
    }
    int childCount() const override { return m_cell && m_cell->subMenuController ? 1 : 0; }
    QAccessibleInterface *child(int index) const override
    {
        if (index == 0 && m_cell && m_cell->subMenuController)
            return QAccessible::queryAccessibleInterface(m_cell->subMenuController->tableView());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child && child == this->child(0) ? 0 : -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        QAccessibleInterface *inner = child(0);
        return inner && inner->rect().contains(x, y) ? inner : nullptr;
    }
    QAccessibleInterface *focusChild() const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        const TrellisItem *item = m_cell->menuItem.get();
        switch (t) {
        case QAccessible::Name:
            return item->labelText();
        case QAccessible::Value:
            return valueText(item);
        case QAccessible::Description: {
            QStringList parts{kindName(item)};
            const QString value = valueText(item);
            if (!value.isEmpty())
                parts << value;
            if (item->type() == TrellisItemTypeSlider) {
                const auto *slider = static_cast<const TrellisItemSlider *>(item);
                parts << QStringLiteral("%1 to %2").arg(slider->minValue()).arg(slider->maxValue());
            }
            if (item->disabled())
                parts << QStringLiteral("unavailable");
            return parts.join(QStringLiteral(", "));
        }
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        if (!m_cell)
            return {};
        const int strip = qMin(m_cell->defaultHeight(), m_cell->height());
        return QRect(m_cell->mapToGlobal(QPoint(0, 0)), QSize(m_cell->width(), strip));
    }

    QAccessible::Role role() const override
    {
        if (!isValid())
            return QAccessible::ListItem;
        switch (m_cell->menuItem->type()) {
        case TrellisItemTypeTextEdit:
        case TrellisItemTypeHotKey:
            return QAccessible::EditableText;
        case TrellisItemTypeCheckBox:
            return QAccessible::CheckBox;
        case TrellisItemTypeSlider:
            return QAccessible::Slider;
        case TrellisItemTypeRadioGroup:
            return QAccessible::RadioButton;
        default:
            return QAccessible::ListItem;
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State st;
        if (!isValid()) {
            st.invalid = true;
            return st;
        }
        const TrellisItem *item = m_cell->menuItem.get();
        st.selectable = true;
        st.focusable = true;
        st.selected = item->selected();
        st.focused = item->selected() && m_table->hasFocus();
        st.disabled = item->disabled();
        st.invisible = !m_cell->isVisible();
        if (item->type() == TrellisItemTypeCheckBox || item->type() == TrellisItemTypeRadioGroup) {
            st.checkable = true;
            st.checked = item->value().toBool();
        }
        if (item->subMenu()) {
            st.expandable = true;
            st.expanded = item->expanded();
            st.collapsed = !item->expanded();
        }
        return st;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface && isValid() &&
            m_cell->menuItem->type() == TrellisItemTypeSlider)
            return static_cast<QAccessibleValueInterface *>(this);
        return nullptr;
    }

    // Value interface (sliders only).
    QVariant currentValue() const override { return slider() ? slider()->valueOfSlider() : 0; }
    void setCurrentValue(const QVariant &value) override
    {
        TrellisItemSlider *s = slider();
        if (!s || s->disabled())
            return;
        const int v = qBound(s->minValue(), value.toInt(), s->maxValue());
        if (v == s->valueOfSlider())
            return;
        s->setValueOfSlider(v);
        if (s->eventValueChanged)
            s->eventValueChanged(s, v);
    }
    QVariant maximumValue() const override { return slider() ? slider()->maxValue() : 0; }
    QVariant minimumValue() const override { return slider() ? slider()->minValue() : 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    TrellisItemSlider *slider() const
    {
        if (!isValid() || m_cell->menuItem->type() != TrellisItemTypeSlider)
            return nullptr;
        return static_cast<TrellisItemSlider *>(m_cell->menuItem.get());
    }

    QPointer<TreeMenuTableView> m_table;
    QPointer<TrellisCellView> m_cell;
};

// A menu table: a list of rows.
class TableAccessible : public QAccessibleWidget
{
public:
    explicit TableAccessible(TreeMenuTableView *table) : QAccessibleWidget(table, QAccessible::List)
    {
    }

    TreeMenuTableView *table() const { return static_cast<TreeMenuTableView *>(widget()); }

    int childCount() const override { return table()->numberOfRows(); }

    // A nested level's table belongs to the row that shows it.
    QAccessibleInterface *parent() const override
    {
        for (QWidget *w = table()->parentWidget(); w; w = w->parentWidget())
            if (qobject_cast<TrellisCellView *>(w))
                return QAccessible::queryAccessibleInterface(w);
        return QAccessibleWidget::parent();
    }

    QAccessibleInterface *child(int index) const override
    {
        auto *cell = qobject_cast<TrellisCellView *>(table()->rowWidget(index));
        if (!cell)
            return nullptr;
        // One interface per row view, kept by Qt's cache until the view goes.
        if (QAccessibleInterface *known = QAccessible::queryAccessibleInterface(cell);
            known && dynamic_cast<RowAccessible *>(known))
            return known;
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (int r = 0; r < childCount(); ++r)
            if (this->child(r) == child)
                return r;
        return -1;
    }

    QAccessibleInterface *focusChild() const override
    {
        const int row = table()->selectedRow();
        if (row < 0)
            return nullptr;
        QAccessibleInterface *rowIface = child(row);
        if (rowIface && rowIface->childCount() > 0) {
            // An open sub-menu holds the focus further in.
            if (QAccessibleInterface *inner = rowIface->child(0)->focusChild())
                return inner;
        }
        return rowIface;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int r = 0; r < childCount(); ++r)
            if (QAccessibleInterface *c = child(r); c && c->rect().contains(x, y))
                return c;
        return nullptr;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            const QString own = QAccessibleWidget::text(t);
            return own.isEmpty() ? QStringLiteral("Menu") : own;
        }
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (className == QLatin1String("TreeMenuTableView") && object && object->isWidgetType())
        return new TableAccessible(static_cast<TreeMenuTableView *>(object));
    if (auto *cell = qobject_cast<TrellisCellView *>(object)) {
        // A row view is found through its table: its parent is the table's viewport.
        QWidget *viewport = cell->parentWidget();
        auto *table =
            viewport ? qobject_cast<TreeMenuTableView *>(viewport->parentWidget()) : nullptr;
        if (table)
            return new RowAccessible(table, cell);
    }
    return nullptr;
}

void send(QAccessibleEvent &event)
{
    QAccessible::updateAccessibility(&event);
}

} // namespace

void TrellisAccessible::install()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(factory);
}

void TrellisAccessible::notifyFocus(TreeMenuTableView *table, int row)
{
    if (!table || row < 0 || !table->hasFocus())
        return;
    QAccessibleEvent event(table, QAccessible::Focus);
    event.setChild(row);
    send(event);
}

void TrellisAccessible::notifyNameChanged(TreeMenuTableView *table, int row)
{
    if (!table || row < 0)
        return;
    QAccessibleEvent event(table, QAccessible::NameChanged);
    event.setChild(row);
    send(event);
}

void TrellisAccessible::notifyValueChanged(TreeMenuTableView *table, int row)
{
    if (!table || row < 0)
        return;
    auto *cell = qobject_cast<TrellisCellView *>(table->rowWidget(row));
    if (!cell || !cell->menuItem)
        return;
    QAccessibleValueChangeEvent event(table, cell->menuItem->value());
    event.setChild(row);
    send(event);
    QAccessibleEvent description(table, QAccessible::DescriptionChanged);
    description.setChild(row);
    send(description);
}

void TrellisAccessible::notifyStateChanged(TreeMenuTableView *table, int row)
{
    if (!table || row < 0)
        return;
    QAccessible::State changed;
    changed.checked = true;
    changed.disabled = true;
    changed.expanded = true;
    changed.collapsed = true;
    QAccessibleStateChangeEvent event(table, changed);
    event.setChild(row);
    send(event);
    QAccessibleEvent description(table, QAccessible::DescriptionChanged);
    description.setChild(row);
    send(description);
}
