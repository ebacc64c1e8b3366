#include "MenuTabButton.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

const char *g_headerClass = nullptr;

class TabAccessible : public QAccessibleWidget
{
public:
    explicit TabAccessible(MenuTabButton *tab) : QAccessibleWidget(tab, QAccessible::PageTab) {}

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.selectable = true;
        s.selected = button()->isChecked();
        return s;
    }
    QStringList actionNames() const override
    {
        return QAccessibleWidget::actionNames() << pressAction();
    }
    void doAction(const QString &name) override
    {
        if (name == pressAction())
            button()->click();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    QAbstractButton *button() const { return static_cast<QAbstractButton *>(widget()); }
};

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("MenuTabButton"))
        return new TabAccessible(static_cast<MenuTabButton *>(object));
    if (g_headerClass && className == QLatin1String(g_headerClass))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::PageTabList);
    return nullptr;
}

} // namespace

MenuTabButton::MenuTabButton(QWidget *parent) : QPushButton(parent)
{
    setCheckable(true);
    // Screen readers hear the new current tab.
    connect(this, &QAbstractButton::toggled, this, [this] {
        QAccessible::State changed;
        changed.selected = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    });
}

void MenuTabButton::installAccessibility(const char *headerClass)
{
    static const bool installed = [headerClass] {
        g_headerClass = headerClass;
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}
