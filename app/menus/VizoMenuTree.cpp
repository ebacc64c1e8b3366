#include "VizoMenuTree.h"

#include "VizoMenuController.h"

#include "kit/AppContext.h"
#include "settings/VizoSettings.h"

VizoMenuTree::VizoMenuTree(VizoMenuController *owner) : QObject(owner), m_owner(owner) {}

VizoMenuTree::~VizoMenuTree() = default;

void VizoMenuTree::reloadMenuLabel()
{
    for (const auto &[weakItem, key] : m_labelled) {
        if (key.isEmpty())
            continue;
        if (const TrellisItemPtr made = weakItem.lock())
            made->setLabelText(menuName(key));
    }
}

QString VizoMenuTree::menuName(const QString &key) const
{
    return context().languageString(QStringLiteral("MenuName"), key, key);
}

QString VizoMenuTree::message(const QString &key) const
{
    return context().languageString(QStringLiteral("Messages"), key, key);
}

AppContext &VizoMenuTree::context() const
{
    return m_owner->context();
}

VizoSettings *VizoMenuTree::settings() const
{
    return context().settings();
}

TrellisItemPtr VizoMenuTree::exitItem()
{
    auto exit = item("Exit");
    exit->setClickOnExit(true);
    return exit;
}

TrellisMenuPtr VizoMenuTree::menuOf(std::initializer_list<TrellisItemPtr> items)
{
    return menuOf(QList<TrellisItemPtr>(items));
}

TrellisMenuPtr VizoMenuTree::menuOf(const QList<TrellisItemPtr> &items)
{
    auto menu = std::make_shared<TrellisMenu>();
    for (const TrellisItemPtr &entry : items) {
        if (!entry)
            continue;
        menu->append(entry);
        entry->setOwnerMenu(menu);
    }
    return menu;
}

void VizoMenuTree::remember(const TrellisItemPtr &made, const QString &key)
{
    // Every row is read out by the device when it becomes current.
    AppContext *app = &context();
    made->eventItemSelected = [app](TrellisItem *current) { app->speak(current->labelText()); };
    m_labelled.emplace_back(made, key);
}
