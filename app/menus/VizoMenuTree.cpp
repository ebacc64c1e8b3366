#include "VizoMenuTree.h"

#include "VizoMenuController.h"

#include "core/AppDelegate.h"
#include "protocol/VizoCommands.h"
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

QString VizoMenuTree::menuName(const QString &key)
{
    return AppDelegate::languageString(QStringLiteral("MenuName"), key, key);
}

QString VizoMenuTree::message(const QString &key)
{
    return AppDelegate::languageString(QStringLiteral("Messages"), key, key);
}

void VizoMenuTree::send(const QByteArray &payload)
{
    if (AppDelegate *app = AppDelegate::instance())
        app->writeVizoPacket(payload);
}

void VizoMenuTree::speak(const QString &text)
{
    send(VizoCmd::SpeakText(text).payload());
}

VizoSettings *VizoMenuTree::settings()
{
    return AppDelegate::settings();
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
    made->eventItemSelected = [](TrellisItem *current) { speak(current->labelText()); };
    m_labelled.emplace_back(made, key);
}
