// Nested levels: opening and closing by keyboard, the outer level disabled
// meanwhile, empty sub-menus, close keys, clicks inside a nested level.
#include "MenuFixture.h"

#include <QLabel>

namespace {

struct Tree
{
    TrellisMenuPtr root;
    TrellisItemPtr a, b, c; // a > b > c, each the first row of its level
    std::shared_ptr<TrellisItemCheckBox> leaf;
    QStringList log;
};

std::unique_ptr<Tree> threeLevels()
{
    auto t = std::make_unique<Tree>();
    t->a = makeItem(QStringLiteral("A"));
    t->b = makeItem(QStringLiteral("B"));
    t->c = makeItem(QStringLiteral("C"));
    t->leaf = makeItem<TrellisItemCheckBox>(QStringLiteral("leaf"));
    t->c->setSubMenu(trellisMenu({t->leaf, makeItem(QStringLiteral("leaf 2"))}));
    t->b->setSubMenu(trellisMenu({t->c, makeItem(QStringLiteral("B2"))}));
    t->a->setSubMenu(trellisMenu({t->b, makeItem(QStringLiteral("A2")), makeItem("A3")}));
    t->root = trellisMenu({t->a, makeItem(QStringLiteral("top 2"))});
    Tree *raw = t.get();
    for (const TrellisItemPtr &item : {t->a, t->b, t->c}) {
        item->eventMenuExpanded = [raw](TrellisItem *i) { raw->log << "open " + i->labelText(); };
        item->eventMenuCollapsed = [raw](TrellisItem *i) { raw->log << "close " + i->labelText(); };
    }
    return t;
}

} // namespace

using Levels = MenuFixture;

TEST_F(Levels, ThreeLevelsOpenAndCloseByKeyboardOnly)
{
    auto t = threeLevels();
    int closedRoot = 0;
    show(t->root);
    root->eventClosed = [&] { ++closedRoot; };

    key(Qt::Key_Return);
    TrellisController *l1 = focusedLevel();
    ASSERT_NE(l1, nullptr);
    EXPECT_EQ(l1->level(), 1);
    EXPECT_EQ(l1->parentController(), root.data());
    EXPECT_EQ(l1->rootController(), root.data());
    EXPECT_TRUE(t->a->expanded());
    EXPECT_TRUE(root->isDisabled());
    EXPECT_TRUE(t->root->at(1)->disabled()) << "the outer level is greyed";
    EXPECT_EQ(root->firstResponder(), l1->tableView());

    key(Qt::Key_Return);
    TrellisController *l2 = focusedLevel();
    ASSERT_NE(l2, nullptr);
    EXPECT_EQ(l2->level(), 2);
    key(Qt::Key_Return);
    TrellisController *l3 = focusedLevel();
    ASSERT_NE(l3, nullptr);
    EXPECT_EQ(l3->level(), 3);
    EXPECT_EQ(root->selectedMenuItem(), t->leaf.get());
    EXPECT_EQ(t->log, QStringList({"open A", "open B", "open C"}));

    // The nested level sits inside the activated row, under its label and
    // indented, and the row grew to hold it.
    TrellisCellView *rowA = cell(root, 0);
    EXPECT_GT(rowA->height(), root->rowHeight() * 6);
    QPoint inRow = l1->mapTo(rowA, QPoint(0, 0));
    EXPECT_EQ(inRow, QPoint(8, root->rowHeight()));

    // Work in the innermost level: toggle the check box.
    key(Qt::Key_Space);
    EXPECT_TRUE(t->leaf->valueOfCheckBox());

    key(Qt::Key_Escape);
    EXPECT_EQ(focusedLevel(), l2);
    EXPECT_FALSE(t->c->expanded());
    key(Qt::Key_Escape);
    EXPECT_EQ(focusedLevel(), l1);
    key(Qt::Key_Escape);
    EXPECT_EQ(focusedLevel(), root.data());
    EXPECT_FALSE(t->a->expanded());
    EXPECT_FALSE(root->isDisabled());
    EXPECT_FALSE(t->root->at(1)->disabled());
    EXPECT_EQ(currentRow(root), 0) << "the row that opened the level stays current";
    EXPECT_EQ(t->log, QStringList({"open A", "open B", "open C", "close C", "close B", "close A"}));
    EXPECT_EQ(closedRoot, 0);
    EXPECT_EQ(cell(root, 0)->height(), root->rowHeight());

    key(Qt::Key_Escape);
    EXPECT_EQ(closedRoot, 1) << "Escape on the root asks the application to close";
}

TEST_F(Levels, ReturnOnAnOpenItemClosesItAndArrowsStayInTheNestedLevel)
{
    auto t = threeLevels();
    show(t->root);
    key(Qt::Key_Return);
    TrellisController *l1 = focusedLevel();
    key(Qt::Key_Up);
    EXPECT_EQ(currentRow(l1), 2) << "wraps inside the nested level";
    EXPECT_EQ(currentRow(root), 0) << "the outer level does not move";
    key(Qt::Key_Escape);
    EXPECT_EQ(focusedLevel(), root.data());
    key(Qt::Key_Down);
    EXPECT_EQ(currentRow(root), 1);
}

TEST_F(Levels, ApplicationDisabledItemsStayDisabledAfterANestedLevelCloses)
{
    auto t = threeLevels();
    t->root->at(1)->setDisabled(true);
    show(t->root);
    key(Qt::Key_Return);
    key(Qt::Key_Escape);
    EXPECT_FALSE(t->a->disabled());
    EXPECT_TRUE(t->root->at(1)->disabled());
}

TEST_F(Levels, EmptySubMenuOpensAndClosesTouchingNoItem)
{
    auto empty = makeItem(QStringLiteral("empty"));
    empty->setSubMenu(trellisMenu());
    int collapsed = 0;
    empty->eventMenuCollapsed = [&](TrellisItem *) { ++collapsed; };
    show(trellisMenu({empty, makeItem(QStringLiteral("other"))}));
    key(Qt::Key_Return);
    TrellisController *nested = focusedLevel();
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->level(), 1);
    EXPECT_EQ(nested->tableView()->numberOfRows(), 0);
    key(Qt::Key_Down); // nothing to move to, nothing breaks
    key(Qt::Key_Return);
    key(Qt::Key_Escape);
    EXPECT_EQ(focusedLevel(), root.data());
    EXPECT_EQ(collapsed, 1);
    EXPECT_FALSE(empty->expanded());
}

TEST_F(Levels, BackspaceClosesOnlyWhenAllowed)
{
    auto t = threeLevels();
    show(t->root);
    key(Qt::Key_Return);
    key(Qt::Key_Backspace);
    EXPECT_TRUE(t->a->expanded()) << "closeOnBackspaceKey is off";
    key(Qt::Key_Escape);

    window.reset();
    t = threeLevels();
    window = std::make_unique<QWidget>();
    show(t->root);
    root->setCloseOnBackspaceKey(true);
    key(Qt::Key_Return);
    ASSERT_TRUE(focusedLevel()->closeOnBackspaceKey()) << "nested levels inherit it";
    key(Qt::Key_Backspace);
    EXPECT_FALSE(t->a->expanded());
    key(Qt::Key_Backspace, Qt::NoModifier, true);
    EXPECT_EQ(focusedLevel(), root.data()) << "a held Backspace does not close the root";
}

TEST_F(Levels, ClickOnExitClosesTheLevelHoldingIt)
{
    auto back = makeItem(QStringLiteral("Back"));
    back->setClickOnExit(true);
    int clicked = 0;
    back->eventItemClicked = [&](TrellisItem *) { ++clicked; };
    auto parent = makeItem(QStringLiteral("parent"));
    parent->setSubMenu(trellisMenu({back}));
    show(trellisMenu({parent}));
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    EXPECT_EQ(clicked, 1);
    EXPECT_FALSE(parent->expanded());
    EXPECT_EQ(focusedLevel(), root.data());
    EXPECT_FALSE(back->selected());
}

TEST_F(Levels, ClicksInsideANestedLevelNeverActivateTheOuterRow)
{
    auto t = threeLevels();
    int outerClicks = 0;
    t->a->eventItemClicked = [&](TrellisItem *) { ++outerClicks; };
    show(t->root);
    key(Qt::Key_Return);
    ASSERT_EQ(outerClicks, 1);
    TrellisCellView *rowA = cell(root, 0);
    // Below the label strip, on the nested level's left margin.
    QTest::mouseClick(rowA, Qt::LeftButton, Qt::NoModifier, QPoint(3, rowA->height() - 3));
    settle();
    EXPECT_EQ(outerClicks, 1);
    EXPECT_TRUE(t->a->expanded());
    EXPECT_EQ(focusedLevel()->level(), 1)
        << "a click on the nested level's margin keeps the keys there";
    // The outer rows are disabled while the nested level is open.
    clickRow(root, 1);
    EXPECT_EQ(currentRow(root), 0);
    EXPECT_EQ(focusedLevel()->level(), 1);
    // A click on a nested row selects and activates it.
    TrellisController *l1 = focusedLevel();
    ASSERT_NE(l1, nullptr);
    ASSERT_NE(cell(l1, 1), nullptr);
    clickRow(l1, 1);
    EXPECT_EQ(currentRow(l1), 1);
    EXPECT_EQ(outerClicks, 1);
}

TEST_F(Levels, ApplicationHandsEscapeToTheFocusedTable)
{
    auto t = threeLevels();
    show(t->root);
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    // As the application's menu closing does: an Escape sent to the root's
    // table reaches the focused (innermost) level.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    root->tableView()->keyDown(&escape);
    settle();
    EXPECT_FALSE(t->b->expanded());
    EXPECT_TRUE(t->a->expanded());
}

TEST_F(Levels, NewMenuWhileANestedLevelIsOpenStartsClean)
{
    auto t = threeLevels();
    show(t->root);
    key(Qt::Key_Return);
    ASSERT_TRUE(root->isDisabled());
    auto fresh = plainMenu(3, QStringLiteral("new "));
    root->setMenu(fresh);
    settle();
    EXPECT_FALSE(root->isDisabled());
    EXPECT_FALSE(t->root->at(1)->disabled()) << "items of the old menu are given back";
    EXPECT_EQ(root->tableView()->numberOfRows(), 3);
    EXPECT_EQ(focus(), root->tableView());
    key(Qt::Key_Down);
    EXPECT_EQ(currentRow(root), 1);
    EXPECT_EQ(root->selectedMenuItem(), fresh->at(1).get());
}

TEST_F(Levels, MenuBuiltWhileHiddenTakesTheKeysWhenShown)
{
    window = std::make_unique<QWidget>();
    window->resize(300, 300);
    auto *level = new TrellisController(window.get());
    level->setGeometry(0, 0, 300, 300);
    level->setMenu(plainMenu(2));
    level->updateLayout();
    settle();
    ASSERT_NE(level->firstResponder(), nullptr);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    level->firstResponder()->setFocus();
    EXPECT_EQ(focus(), level->tableView());
}
