// Page buttons and row heights.
#include "MenuFixture.h"

#include <QAbstractButton>
#include <QScrollArea>
#include <QScrollBar>

using Paging = MenuFixture;

TEST_F(Paging, ButtonsHiddenWhenEverythingFits)
{
    show(plainMenu(5));
    EXPECT_FALSE(root->buttonScrollUp()->isVisible());
    EXPECT_FALSE(root->buttonScrollDown()->isVisible());
    key(Qt::Key_Up);
    key(Qt::Key_Down);
    EXPECT_FALSE(root->buttonScrollUp()->isVisible());
    EXPECT_FALSE(root->buttonScrollDown()->isVisible());
}

TEST_F(Paging, LongMenuPagesDownAndUp)
{
    show(plainMenu(40), {300, 300});
    QScrollBar *bar = root->scrollView()->verticalScrollBar();
    EXPECT_FALSE(root->buttonScrollUp()->isVisible());
    EXPECT_TRUE(root->buttonScrollDown()->isVisible());

    const int rowStep = root->tableView()->rowHeight(0);
    EXPECT_EQ(rowStep, root->rowHeight() + 2);
    QTest::mouseClick(root->buttonScrollDown(), Qt::LeftButton);
    settle();
    EXPECT_GT(bar->value(), 0);
    EXPECT_EQ(bar->value() % rowStep, 0) << "pages end on a row boundary";
    EXPECT_TRUE(root->buttonScrollUp()->isVisible());
    EXPECT_TRUE(root->buttonScrollDown()->isVisible());
    EXPECT_EQ(focus(), root->tableView()) << "the keyboard stays in the menu";

    for (int i = 0; i < 20 && root->buttonScrollDown()->isVisible(); ++i) {
        QTest::mouseClick(root->buttonScrollDown(), Qt::LeftButton);
        settle();
    }
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_FALSE(root->buttonScrollDown()->isVisible()) << "no page below the last row";

    for (int i = 0; i < 20 && root->buttonScrollUp()->isVisible(); ++i) {
        QTest::mouseClick(root->buttonScrollUp(), Qt::LeftButton);
        settle();
    }
    EXPECT_EQ(bar->value(), 0);
    EXPECT_TRUE(root->buttonScrollDown()->isVisible());
}

TEST_F(Paging, ArrowKeysUpdateTheButtons)
{
    show(plainMenu(40), {300, 300});
    key(Qt::Key_Up);
    EXPECT_TRUE(root->buttonScrollUp()->isVisible());
    EXPECT_FALSE(root->buttonScrollDown()->isVisible());
    key(Qt::Key_Down);
    EXPECT_FALSE(root->buttonScrollUp()->isVisible());
    EXPECT_TRUE(root->buttonScrollDown()->isVisible());
    for (int i = 0; i < 20; ++i)
        key(Qt::Key_Down);
    EXPECT_TRUE(root->buttonScrollUp()->isVisible());
    EXPECT_TRUE(root->buttonScrollDown()->isVisible());
    // The current row is always in sight.
    const QRect seen = cell(root, 20)->visibleRegion().boundingRect();
    EXPECT_EQ(seen.height(), cell(root, 20)->height());
}

TEST_F(Paging, ExpandedRowHeightAndCap)
{
    auto parent = makeItem(QStringLiteral("parent"));
    parent->setSubMenu(plainMenu(3));
    auto menu = trellisMenu({parent});
    show(menu, {300, 600});
    const int rh = root->rowHeight();
    const int buttons = root->buttonScrollDown()->height();
    EXPECT_EQ(root->calcRowHeight(parent.get()), rh);
    parent->setExpanded(true);
    EXPECT_EQ(root->calcRowHeight(parent.get()), rh + 3 * (rh + 2) + 2 * buttons);

    // A sub-menu taller than the view is capped to the view less two rows.
    parent->setSubMenu(plainMenu(100));
    EXPECT_EQ(root->calcRowHeight(parent.get()), 600 - 2 * rh);
}

TEST_F(Paging, ScaleMultipliesTheRowHeightOnce)
{
    window = std::make_unique<QWidget>();
    auto *level = new TrellisController(window.get());
    level->setScale(2.0f);
    EXPECT_EQ(level->rowHeight(), 50);
    level->setScale(1.5f);
    EXPECT_EQ(level->rowHeight(), 75) << "each call multiplies: call it once";
}

TEST_F(Paging, PageKeysPageAndOtherKeysReachTheApplication)
{
    auto parent = makeItem(QStringLiteral("parent"));
    parent->setSubMenu(plainMenu(3));
    auto menu = plainMenu(40);
    menu->prepend(parent);
    show(menu, {300, 300});
    QScrollBar *bar = root->scrollView()->verticalScrollBar();
    key(Qt::Key_PageDown);
    EXPECT_GT(bar->value(), 0);
    EXPECT_TRUE(root->buttonScrollUp()->isVisible());
    key(Qt::Key_PageUp);
    EXPECT_EQ(bar->value(), 0);

    // Keys the menu does not use travel up to the window, from any level.
    struct Catcher : QObject
    {
        QList<int> keys;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::KeyPress)
                keys << static_cast<QKeyEvent *>(e)->key();
            return false;
        }
    } catcher;
    window->installEventFilter(&catcher);
    key(Qt::Key_Home);
    key(Qt::Key_Return);
    key(Qt::Key_Left);
    key(Qt::Key_Right);
    EXPECT_EQ(catcher.keys, QList<int>({Qt::Key_Left, Qt::Key_Right}));
    EXPECT_EQ(focusedLevel()->level(), 1);
}
