// What assistive technology sees of a menu: rows with name, role, value
// and state, and events as the current row and values change.
#include "MenuFixture.h"

#include <QAccessible>
#include <QAccessibleValueInterface>

using Accessibility = MenuFixture;

TEST_F(Accessibility, RowsExposeLabelKindAndValue)
{
    auto plain = makeItem(QStringLiteral("Colour mode"));
    plain->setSubMenu(trellisMenu({makeItem(QStringLiteral("inner"))}));
    auto box = makeItem<TrellisItemCheckBox>(QStringLiteral("Focus lock"));
    box->setValueOfCheckBox(true);
    auto slider = makeItem<TrellisItemSlider>(QStringLiteral("Contrast"));
    slider->setMaxValue(39);
    slider->setValueOfSlider(12);
    auto radio = makeItem<TrellisItemRadioGroup>(QStringLiteral("English"));
    auto off = makeItem(QStringLiteral("Wi-Fi"));
    off->setDisabled(true);
    show(trellisMenu({plain, box, slider, radio, off}));

    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(root->tableView());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->role(), QAccessible::List);
    ASSERT_EQ(table->childCount(), 5);

    QAccessibleInterface *row0 = table->child(0);
    ASSERT_NE(row0, nullptr);
    EXPECT_EQ(row0->text(QAccessible::Name), "Colour mode");
    EXPECT_EQ(row0->role(), QAccessible::ListItem);
    EXPECT_TRUE(row0->state().expandable);
    EXPECT_TRUE(row0->state().focused);
    EXPECT_EQ(table->focusChild(), row0);
    EXPECT_EQ(row0->parent(), table);
    EXPECT_EQ(table->indexOfChild(row0), 0);

    QAccessibleInterface *row1 = table->child(1);
    EXPECT_EQ(row1->role(), QAccessible::CheckBox);
    EXPECT_TRUE(row1->state().checkable);
    EXPECT_TRUE(row1->state().checked);
    EXPECT_TRUE(row1->text(QAccessible::Description).contains("checked"));

    QAccessibleInterface *row2 = table->child(2);
    EXPECT_EQ(row2->role(), QAccessible::Slider);
    ASSERT_NE(row2->valueInterface(), nullptr);
    EXPECT_EQ(row2->valueInterface()->currentValue().toInt(), 12);
    EXPECT_EQ(row2->valueInterface()->maximumValue().toInt(), 39);
    EXPECT_EQ(row2->text(QAccessible::Value), "12");

    EXPECT_EQ(table->child(3)->role(), QAccessible::RadioButton);
    EXPECT_FALSE(table->child(3)->state().checked);
    EXPECT_TRUE(table->child(4)->state().disabled);
    EXPECT_TRUE(table->child(4)->text(QAccessible::Description).contains("unavailable"));
}

// Change events reach a screen reader only while one is running (Qt drops
// them otherwise); what it then reads back must be current.
TEST_F(Accessibility, RowsFollowTheCurrentRowAndValues)
{
    auto box = makeItem<TrellisItemCheckBox>(QStringLiteral("box"));
    auto slider = makeItem<TrellisItemSlider>(QStringLiteral("level"));
    slider->setMaxValue(10);
    show(trellisMenu({box, slider}));
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(root->tableView());
    key(Qt::Key_Down);
    QAccessibleInterface *row = table->child(1);
    EXPECT_EQ(table->focusChild(), row);
    EXPECT_TRUE(row->state().focused);
    EXPECT_FALSE(table->child(0)->state().focused);
    slider->setValueOfSlider(6);
    EXPECT_EQ(row->valueInterface()->currentValue().toInt(), 6);
    key(Qt::Key_Up);
    key(Qt::Key_Return);
    EXPECT_TRUE(table->child(0)->state().checked);
    box->setLabelText(QStringLiteral("renamed"));
    EXPECT_EQ(table->child(0)->text(QAccessible::Name), "renamed");

    // A screen reader may set a slider: the application hears of it.
    int reported = -1;
    slider->eventValueChanged = [&](TrellisItem *, const QVariant &v) { reported = v.toInt(); };
    row->valueInterface()->setCurrentValue(99);
    EXPECT_EQ(slider->valueOfSlider(), 10) << "kept in range";
    EXPECT_EQ(reported, 10);
}

TEST_F(Accessibility, NestedLevelIsReachedThroughItsRow)
{
    auto parent = makeItem(QStringLiteral("parent"));
    parent->setSubMenu(trellisMenu({makeItem(QStringLiteral("inner"))}));
    show(trellisMenu({parent}));
    key(Qt::Key_Return);
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(root->tableView());
    QAccessibleInterface *row = table->child(0);
    ASSERT_EQ(row->childCount(), 1);
    QAccessibleInterface *inner = row->child(0);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->parent(), row);
    EXPECT_EQ(inner->child(0)->text(QAccessible::Name), "inner");
    EXPECT_EQ(table->focusChild(), inner->child(0)) << "focus is reported in the open level";
    EXPECT_TRUE(row->state().expanded);
}
