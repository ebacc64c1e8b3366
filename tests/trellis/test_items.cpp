// The item model: defaults, notifications without handlers, radio groups.
#include <trellis/TrellisItemCheckBox.h>
#include <trellis/TrellisItemRadioGroup.h>
#include <trellis/TrellisItemSlider.h>

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

std::shared_ptr<TrellisItemRadioGroup> radio(bool on = false)
{
    auto item = std::make_shared<TrellisItemRadioGroup>();
    item->setValueOfRadioGroup(on);
    return item;
}

bool on(const TrellisItemPtr &item)
{
    return static_cast<TrellisItemRadioGroup *>(item.get())->valueOfRadioGroup();
}

} // namespace

TEST(TrellisItems, KindsAndDefaults)
{
    TrellisItem plain;
    EXPECT_EQ(plain.type(), TrellisItemTypePlain);
    EXPECT_FALSE(plain.clickOnExit());
    EXPECT_FALSE(plain.enableRollback());
    EXPECT_EQ(plain.editState(), 0);
    EXPECT_FALSE(plain.expanded() || plain.selected() || plain.disabled());
    EXPECT_EQ(plain.subMenu(), nullptr);
    EXPECT_EQ(plain.ownerMenu(), nullptr);
    EXPECT_FALSE(plain.eventItemClicked);
    EXPECT_EQ(TrellisItemCheckBox().type(), 3);
    EXPECT_EQ(TrellisItemSlider().type(), 4);
    EXPECT_EQ(TrellisItemRadioGroup().type(), 5);
}

TEST(TrellisItems, SettingAValueNotifiesViewsButRunsNoHandler)
{
    TrellisItemCheckBox box;
    int handled = 0;
    box.eventValueChanged = [&](TrellisItem *, const QVariant &) { ++handled; };
    QSignalSpy spy(&box, &TrellisItemCheckBox::valueOfCheckBoxChanged);
    box.setValueOfCheckBox(true);
    box.setValueOfCheckBox(true);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(handled, 0);

    // The slider stores what it is given, in range or not.
    TrellisItemSlider slider;
    slider.setMinValue(0);
    slider.setMaxValue(10);
    slider.setValueOfSlider(42);
    EXPECT_EQ(slider.valueOfSlider(), 42);
    slider.setValueOfSlider(-3);
    EXPECT_EQ(slider.valueOfSlider(), -3);
}

TEST(TrellisItems, ExclusiveSelectClearsOnlyRadioItemsOfItsOwnArray)
{
    auto a = radio(true), b = radio(), c = radio(true);
    auto box = std::make_shared<TrellisItemCheckBox>();
    box->setValueOfCheckBox(true);
    auto menu = trellisMenu({a, b, box});
    auto other = trellisMenu({c});
    for (auto &m : {menu, other})
        for (auto &item : *m)
            item->setOwnerMenu(m);

    int handled = 0;
    a->eventValueChanged =
        b->eventValueChanged = [&](TrellisItem *, const QVariant &) { ++handled; };
    b->exclusiveSelect();
    EXPECT_FALSE(on(a));
    EXPECT_TRUE(on(b));
    EXPECT_TRUE(box->valueOfCheckBox()) << "items of other kinds are not touched";
    EXPECT_TRUE(on(c)) << "a radio item of another array is its own group";
    EXPECT_EQ(handled, 0);

    b->deselectAll();
    EXPECT_FALSE(on(a) || on(b));
    EXPECT_TRUE(on(c));
}

TEST(TrellisItems, RadioWithoutOwnerMenu)
{
    auto lone = radio();
    lone->exclusiveSelect();
    EXPECT_TRUE(lone->valueOfRadioGroup());
    lone->deselectAll();
    EXPECT_TRUE(lone->valueOfRadioGroup()) << "without an array there is no group to clear";
}

TEST(TrellisItems, OwnerMenuIsWeak)
{
    auto item = radio();
    {
        auto menu = trellisMenu({item});
        item->setOwnerMenu(menu);
        EXPECT_EQ(item->ownerMenu(), menu);
    }
    // The array held the only strong reference to itself being dropped:
    // the item must not keep it alive.
    EXPECT_EQ(item->ownerMenu(), nullptr);
}
