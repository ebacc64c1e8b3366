#pragma once
// What the Options, OCR and Files trees share: items created with their
// text key and a handler that speaks the row when it becomes current, the
// Exit rows, the labels reloaded from the language tables, and the way a
// change reaches the device. Each tree is a QObject owned by the menu
// column, so item handlers can hold it weakly. Main thread only.
#include <trellis/TrellisItem.h>

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

class AppContext;
class VizoMenuController;
class VizoSettings;

class VizoMenuTree : public QObject
{
    Q_OBJECT

public:
    explicit VizoMenuTree(VizoMenuController *owner);
    ~VizoMenuTree() override;

    // Creates every item (drops the earlier ones).
    virtual void makeMenu() = 0;
    // The root array for the current edition, mode and camera view.
    virtual TrellisMenuPtr buildMenuTree() = 0;
    // Values from the settings model.
    virtual void reloadSettings() = 0;
    // Labels from the language tables; the base class sets every item made
    // with a text key.
    virtual void reloadMenuLabel();

    // Texts of the settings' language tables ("MenuName", "Messages"); the
    // key itself when the tables lack it.
    QString menuName(const QString &key) const;
    QString message(const QString &key) const;
    // The application: sending, speaking, pages and boxes.
    AppContext &context() const;
    VizoSettings *settings() const;

protected:
    VizoMenuController *owner() const { return m_owner; }

    // A new item of kind T labelled by "MenuName" `key`, speaking its label
    // when it becomes current.
    template <typename T = TrellisItem> std::shared_ptr<T> item(const char *key)
    {
        auto made = std::make_shared<T>();
        remember(made, QString::fromLatin1(key));
        return made;
    }
    // An item whose label the tree sets itself (colour slots, languages).
    template <typename T = TrellisItem> std::shared_ptr<T> unlabelledItem()
    {
        auto made = std::make_shared<T>();
        remember(made, QString());
        return made;
    }
    // "Exit": closes the level holding it.
    TrellisItemPtr exitItem();
    // The items as a menu array; each item knows the array (radio groups
    // work before the level has been shown).
    static TrellisMenuPtr menuOf(std::initializer_list<TrellisItemPtr> items);
    static TrellisMenuPtr menuOf(const QList<TrellisItemPtr> &items);
    // Forgets the items made so far (before making them again).
    void clearItems() { m_labelled.clear(); }

    // Wraps a member function as a handler that holds the tree weakly.
    template <typename Tree, typename... Args> auto weakly(void (Tree::*method)(Args...))
    {
        QPointer<Tree> self(static_cast<Tree *>(this));
        return [self, method](Args... args) {
            if (self)
                (self.data()->*method)(std::forward<Args>(args)...);
        };
    }

private:
    void remember(const TrellisItemPtr &made, const QString &key);

    VizoMenuController *m_owner; // the parent: outlives the tree
    std::vector<std::pair<std::weak_ptr<TrellisItem>, QString>> m_labelled;
};
