#pragma once
// One entry of a Trellis tree menu, and the menu arrays that hold them.
//
// Items are plain model objects: they hold no view and draw nothing. Every
// shown value is a Qt property with a change signal, so the row views follow
// the items and write back into them. Setting a property never runs a
// handler; handlers run only when the user acts through a TrellisController
// (or when the application calls them itself). Main thread only.
#include <QObject>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

class TrellisItem;

// A menu is a shared, mutable array of shared items. An item's sub-menu is
// such an array; an item refers back to the array holding it weakly.
using TrellisItemPtr = std::shared_ptr<TrellisItem>;
using TrellisMenu = QList<TrellisItemPtr>;
using TrellisMenuPtr = std::shared_ptr<TrellisMenu>;

// Builds a menu array from a list of items.
TrellisMenuPtr trellisMenu(std::initializer_list<TrellisItemPtr> items = {});

// The kind of an item, fixed by its class: it chooses the row view.
enum TrellisItemType : int {
    TrellisItemTypePlain = 0,
    TrellisItemTypeTextEdit = 1,
    TrellisItemTypeHotKey = 2,
    TrellisItemTypeCheckBox = 3,
    TrellisItemTypeSlider = 4,
    TrellisItemTypeRadioGroup = 5,
};

class TrellisItem : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int type READ type CONSTANT)
    Q_PROPERTY(QString labelText READ labelText WRITE setLabelText NOTIFY labelTextChanged)
    Q_PROPERTY(bool expanded READ expanded WRITE setExpanded NOTIFY expandedChanged)
    Q_PROPERTY(bool selected READ selected WRITE setSelected NOTIFY selectedChanged)
    Q_PROPERTY(bool disabled READ disabled WRITE setDisabled NOTIFY disabledChanged)
    Q_PROPERTY(bool clickOnExit READ clickOnExit WRITE setClickOnExit NOTIFY clickOnExitChanged)
    Q_PROPERTY(bool enableRollback READ enableRollback WRITE setEnableRollback NOTIFY
                   enableRollbackChanged)
    Q_PROPERTY(int editState READ editState WRITE setEditState NOTIFY editStateChanged)

public:
    using ItemHandler = std::function<void(TrellisItem *item)>;
    // The value is a bool for check boxes and radio items, an int for
    // sliders and a QString for text and hot key items.
    using ValueHandler = std::function<void(TrellisItem *item, const QVariant &value)>;

    TrellisItem();
    ~TrellisItem() override;

    int type() const { return m_type; }

    QString labelText() const { return m_labelText; }
    void setLabelText(const QString &text);

    // The nested menu; null for a leaf. An item with a sub-menu (even an
    // empty one) opens a nested level when activated.
    TrellisMenuPtr subMenu() const { return m_subMenu; }
    void setSubMenu(TrellisMenuPtr menu) { m_subMenu = std::move(menu); }

    // The array holding this item; set by the controller when it builds
    // the rows, used for radio exclusivity.
    TrellisMenuPtr ownerMenu() const { return m_ownerMenu.lock(); }
    void setOwnerMenu(const TrellisMenuPtr &menu) { m_ownerMenu = menu; }

    bool expanded() const { return m_expanded; }
    void setExpanded(bool expanded);
    bool selected() const { return m_selected; }
    void setSelected(bool selected);
    bool disabled() const { return m_disabled; }
    void setDisabled(bool disabled);

    QVariant userData() const { return m_userData; }
    void setUserData(const QVariant &data) { m_userData = data; }

    // Activating the item closes the level holding it instead of opening
    // a sub-menu.
    bool clickOnExit() const { return m_clickOnExit; }
    void setClickOnExit(bool on);

    // The edit cycle: with enableRollback, Return begins an edit (editState
    // 1) and confirms it, Escape cancels it and hands valueForRollback back.
    QVariant valueForRollback() const { return m_valueForRollback; }
    void setValueForRollback(const QVariant &value) { m_valueForRollback = value; }
    bool enableRollback() const { return m_enableRollback; }
    void setEnableRollback(bool on);
    int editState() const { return m_editState; }
    void setEditState(int state);

    // Handlers; an empty one is skipped. Capture controllers weakly.
    ItemHandler eventItemSelected;  // became the current row
    ItemHandler eventItemClicked;   // was activated
    ValueHandler eventValueChanged; // its value changed through the menu
    ItemHandler eventMenuExpanded;  // its sub-menu has been shown
    ItemHandler eventMenuCollapsed; // its sub-menu has been closed
    ItemHandler eventBeginEdit;     // an edit began
    ItemHandler eventEndEdit;       // an edit was confirmed
    ValueHandler eventCancelEdit;   // an edit was cancelled: (item, valueForRollback)

    // The value a row shows, as the handlers would pass it; invalid for a
    // plain item.
    virtual QVariant value() const { return {}; }

signals:
    void labelTextChanged(const QString &text);
    void expandedChanged(bool expanded);
    void selectedChanged(bool selected);
    void disabledChanged(bool disabled);
    void editStateChanged(int state);
    void clickOnExitChanged(bool on);
    void enableRollbackChanged(bool on);
    // Any shown value of a subclass changed (for views that show it).
    void valueChanged();

protected:
    explicit TrellisItem(TrellisItemType type);

private:
    const int m_type;
    QString m_labelText;
    TrellisMenuPtr m_subMenu;
    std::weak_ptr<TrellisMenu> m_ownerMenu;
    bool m_expanded = false;
    bool m_selected = false;
    bool m_disabled = false;
    QVariant m_userData;
    bool m_clickOnExit = false;
    QVariant m_valueForRollback;
    bool m_enableRollback = false;
    int m_editState = 0;
};
