// Activating rows: check boxes, radio groups, the edit cycle of sliders,
// mouse clicks on the round box and on the slider.
#include "MenuFixture.h"

#include "CheckBoxView.h"
#include "SliderView.h"
#include "TrellisCheckBoxCellView.h"
#include "TrellisSliderCellView.h"

namespace {

struct Log
{
    QStringList events;
    void watch(const TrellisItemPtr &item)
    {
        item->eventValueChanged = [this](TrellisItem *i, const QVariant &v) {
            events << QStringLiteral("%1=%2").arg(i->labelText(), v.toString());
        };
        item->eventItemClicked = [this](TrellisItem *i) { events << "click " + i->labelText(); };
    }
};

} // namespace

using Activation = MenuFixture;

TEST_F(Activation, CheckBoxFlipsThenReportsThenClicks)
{
    auto box = makeItem<TrellisItemCheckBox>(QStringLiteral("box"));
    Log log;
    log.watch(box);
    show(trellisMenu({box}));
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    EXPECT_EQ(log.events, QStringList({"box=true", "click box", "box=false", "click box"}));
    auto *view = static_cast<TrellisCheckBoxCellView *>(cell(root, 0));
    EXPECT_FALSE(view->checkBox()->isChecked());
    box->setValueOfCheckBox(true);
    EXPECT_TRUE(view->checkBox()->isChecked()) << "the box follows the item";
}

TEST_F(Activation, RadioGroupRules)
{
    auto a = makeItem<TrellisItemRadioGroup>(QStringLiteral("a"));
    auto b = makeItem<TrellisItemRadioGroup>(QStringLiteral("b"));
    auto plainBox = makeItem<TrellisItemCheckBox>(QStringLiteral("box"));
    plainBox->setValueOfCheckBox(true);
    Log log;
    log.watch(a);
    log.watch(b);
    show(trellisMenu({a, b, plainBox}));
    key(Qt::Key_Return);
    EXPECT_TRUE(a->valueOfRadioGroup());
    key(Qt::Key_Return);
    EXPECT_TRUE(a->valueOfRadioGroup()) << "without toggling the chosen item stays chosen";
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    EXPECT_FALSE(a->valueOfRadioGroup());
    EXPECT_TRUE(b->valueOfRadioGroup());
    EXPECT_TRUE(plainBox->valueOfCheckBox()) << "other kinds are not part of the group";
    EXPECT_EQ(log.events,
              QStringList({"a=true", "click a", "a=true", "click a", "b=true", "click b"}));

    b->setEnableToggle(true);
    key(Qt::Key_Return);
    EXPECT_FALSE(b->valueOfRadioGroup()) << "with toggling the group may end empty";
    EXPECT_FALSE(a->valueOfRadioGroup());
    EXPECT_EQ(log.events.last(), "click b");
    EXPECT_EQ(log.events.at(log.events.size() - 2), "b=false");
}

TEST_F(Activation, RadioBoxClickedWithTheMouse)
{
    auto a = makeItem<TrellisItemRadioGroup>(QStringLiteral("a"));
    auto b = makeItem<TrellisItemRadioGroup>(QStringLiteral("b"));
    a->setValueOfRadioGroup(true);
    Log log;
    log.watch(b);
    show(trellisMenu({a, b}));
    auto *view = static_cast<TrellisCheckBoxCellView *>(cell(root, 1));
    QTest::mouseClick(view->checkBox(), Qt::LeftButton);
    settle();
    EXPECT_EQ(currentRow(root), 1) << "a click on the box selects its row";
    EXPECT_FALSE(a->valueOfRadioGroup());
    EXPECT_TRUE(b->valueOfRadioGroup());
    EXPECT_FALSE(static_cast<TrellisCheckBoxCellView *>(cell(root, 0))->checkBox()->isChecked());
    EXPECT_EQ(log.events, QStringList({"b=true"}));
}

TEST_F(Activation, CheckBoxDoubleClickEndsWhereItStarted)
{
    auto box = makeItem<TrellisItemCheckBox>(QStringLiteral("box"));
    QList<bool> reported;
    box->eventValueChanged = [&](TrellisItem *, const QVariant &v) { reported << v.toBool(); };
    show(trellisMenu({box}));
    CheckBoxView *view = static_cast<TrellisCheckBoxCellView *>(cell(root, 0))->checkBox();
    const QPoint centre = view->rect().center();
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, centre);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, centre);
    // The second click of a double click arrives as press, double click,
    // release.
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, centre);
    QTest::mouseDClick(view, Qt::LeftButton, Qt::NoModifier, centre);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, centre);
    settle();
    EXPECT_EQ(reported, QList<bool>({true, false}));
    EXPECT_FALSE(box->valueOfCheckBox());
    EXPECT_FALSE(view->isChecked());
}

TEST_F(Activation, SliderEditCycleWithRollback)
{
    auto slider = makeItem<TrellisItemSlider>(QStringLiteral("level"));
    slider->setMaxValue(10);
    slider->setValueOfSlider(4);
    slider->setEnableRollback(true);
    QStringList log;
    slider->eventBeginEdit = [&](TrellisItem *i) {
        log << "begin";
        i->setValueForRollback(4);
    };
    slider->eventEndEdit = [&](TrellisItem *) { log << "end"; };
    QVariant cancelledWith;
    slider->eventCancelEdit = [&](TrellisItem *, const QVariant &v) {
        log << "cancel";
        cancelledWith = v;
    };
    show(trellisMenu({slider, makeItem(QStringLiteral("other"))}));
    root->setSliderBackgroundColorInEditMode(Qt::red);
    auto *view = static_cast<TrellisSliderCellView *>(cell(root, 0));

    key(Qt::Key_Return);
    EXPECT_EQ(slider->editState(), 1);
    EXPECT_EQ(view->slider()->cell().backgroundColor, QColor(Qt::red));
    EXPECT_TRUE(root->isEditingMenuItem());
    key(Qt::Key_Down);
    EXPECT_EQ(currentRow(root), 0) << "the current row cannot leave an edited item";
    clickRow(root, 1);
    EXPECT_EQ(currentRow(root), 0);

    slider->setValueOfSlider(7); // as the application's arrow handler does
    EXPECT_EQ(view->slider()->value(), 7);
    key(Qt::Key_Escape);
    EXPECT_EQ(cancelledWith.toInt(), 4);
    EXPECT_EQ(slider->valueOfSlider(), 7) << "Escape restores nothing by itself";
    EXPECT_EQ(slider->editState(), 0);
    EXPECT_FALSE(slider->valueForRollback().isValid());
    EXPECT_EQ(view->slider()->cell().backgroundColor, root->sliderBackgroundColorInNormalMode());

    key(Qt::Key_Return);
    key(Qt::Key_Return);
    EXPECT_EQ(slider->editState(), 0);
    EXPECT_EQ(log, QStringList({"begin", "cancel", "begin", "end"}));
    key(Qt::Key_Down);
    EXPECT_EQ(currentRow(root), 1);
}

TEST_F(Activation, SliderDraggedWithTheMouseWritesTheItem)
{
    auto slider = makeItem<TrellisItemSlider>(QStringLiteral("level"));
    slider->setMaxValue(10);
    QList<int> reported;
    slider->eventValueChanged = [&](TrellisItem *, const QVariant &v) { reported << v.toInt(); };
    show(trellisMenu({makeItem(QStringLiteral("first")), slider}));
    SliderView *view = static_cast<TrellisSliderCellView *>(cell(root, 1))->slider();
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(view->width() - 1, 5));
    settle();
    EXPECT_EQ(slider->valueOfSlider(), 10);
    EXPECT_EQ(reported, QList<int>({10}));
    EXPECT_EQ(currentRow(root), 1);
    slider->setValueOfSlider(3);
    EXPECT_EQ(reported.size(), 1) << "a value set in code is not reported back";
}
