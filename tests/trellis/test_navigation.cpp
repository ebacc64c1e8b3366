// Moving the current row by keyboard: wrap-around, disabled rows, held keys.
#include "MenuFixture.h"

#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

using Navigation = MenuFixture;

TEST_F(Navigation, FirstRowIsCurrentAndTableHasFocus)
{
    auto menu = plainMenu(3);
    show(menu);
    EXPECT_EQ(focus(), root->tableView());
    EXPECT_EQ(root->firstResponder(), root->tableView());
    EXPECT_EQ(currentRow(root), 0);
    EXPECT_TRUE(menu->at(0)->selected());
    EXPECT_TRUE(cell(root, 0)->hilighted());
    EXPECT_EQ(root->selectedMenuItem(), menu->at(0).get());
}

TEST_F(Navigation, HighlightedRowUsesHighlightTextColour)
{
    auto menu = plainMenu(2);
    window = nullptr;
    show(menu);
    root->setCellHilightTextColor(Qt::white);
    EXPECT_EQ(cell(root, 0)->label()->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(cell(root, 1)->label()->palette().color(QPalette::WindowText), QColor(Qt::black));
}

TEST_F(Navigation, ArrowsWrapAroundBothEnds)
{
    auto menu = plainMenu(4);
    int selectedEvents = 0;
    for (auto &item : *menu)
        item->eventItemSelected = [&](TrellisItem *) { ++selectedEvents; };
    show(menu);
    selectedEvents = 0;
    key(Qt::Key_Up);
    EXPECT_EQ(currentRow(root), 3);
    key(Qt::Key_Down);
    EXPECT_EQ(currentRow(root), 0);
    key(Qt::Key_Down);
    EXPECT_EQ(currentRow(root), 1);
    EXPECT_EQ(selectedEvents, 3);
    EXPECT_TRUE(menu->at(1)->selected());
    EXPECT_FALSE(menu->at(0)->selected());
    EXPECT_EQ(root->selectedMenuItem(), menu->at(1).get());
    // Held arrows repeat.
    key(Qt::Key_Down, Qt::NoModifier, true);
    key(Qt::Key_Down, Qt::NoModifier, true);
    EXPECT_EQ(currentRow(root), 3);
}

TEST_F(Navigation, DisabledFirstRowIsSkipped)
{
    auto menu = plainMenu(4);
    menu->at(0)->setDisabled(true);
    show(menu);
    EXPECT_EQ(currentRow(root), 1) << "a disabled first row is not the starting row";
    key(Qt::Key_Up);
    EXPECT_EQ(currentRow(root), 3) << "Up from row 1 lands on the last enabled row";
    key(Qt::Key_Down);
    EXPECT_EQ(currentRow(root), 3) << "the wrap target is disabled: stay on the last row";
}

TEST_F(Navigation, DisabledRowsInTheMiddleAreSkippedBothWays)
{
    auto menu = plainMenu(5);
    menu->at(1)->setDisabled(true);
    menu->at(2)->setDisabled(true);
    show(menu);
    key(Qt::Key_Down);
    EXPECT_EQ(currentRow(root), 3);
    key(Qt::Key_Up);
    EXPECT_EQ(currentRow(root), 0);
}

TEST_F(Navigation, AllRowsDisabledKeepsThePreviousRow)
{
    auto menu = plainMenu(3);
    show(menu);
    for (auto &item : *menu)
        item->setDisabled(true);
    key(Qt::Key_Down);
    EXPECT_EQ(currentRow(root), 0);
    key(Qt::Key_Up);
    EXPECT_EQ(currentRow(root), 0);
    int clicked = 0;
    menu->at(0)->eventItemClicked = [&](TrellisItem *) { ++clicked; };
    key(Qt::Key_Return);
    EXPECT_EQ(clicked, 0) << "a disabled row does not activate";
}

TEST_F(Navigation, HeldReturnActivatesOnce)
{
    auto menu = plainMenu(2);
    int clicked = 0;
    menu->at(0)->eventItemClicked = [&](TrellisItem *) { ++clicked; };
    show(menu);
    key(Qt::Key_Return);
    key(Qt::Key_Return, Qt::NoModifier, true);
    key(Qt::Key_Return, Qt::NoModifier, true);
    EXPECT_EQ(clicked, 1);
    key(Qt::Key_Space);
    EXPECT_EQ(clicked, 2) << "Space activates like Return";
    key(Qt::Key_Space, Qt::NoModifier, true);
    EXPECT_EQ(clicked, 2);
}

TEST_F(Navigation, WheelNeverScrollsOrMoves)
{
    auto menu = plainMenu(60);
    show(menu, {300, 300});
    const int before = root->scrollView()->verticalScrollBar()->value();
    QWheelEvent wheel(QPointF(20, 20), root->tableView()->mapToGlobal(QPointF(20, 20)), QPoint(),
                      QPoint(0, -480), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(cell(root, 0), &wheel);
    QApplication::sendEvent(root->tableView()->viewport(), &wheel);
    settle();
    EXPECT_EQ(root->scrollView()->verticalScrollBar()->value(), before);
    EXPECT_EQ(currentRow(root), 0);
}

TEST_F(Navigation, WrapScrollsTheNewRowIntoView)
{
    auto menu = plainMenu(60);
    show(menu, {300, 300});
    QScrollBar *bar = root->scrollView()->verticalScrollBar();
    key(Qt::Key_Up);
    EXPECT_EQ(currentRow(root), 59);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(cell(root, 59)->visibleRegion().boundingRect().height() > 0);
    key(Qt::Key_Down);
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(Navigation, ClickSelectsAndActivatesButNotOnDisabledRows)
{
    auto menu = plainMenu(3);
    menu->at(2)->setDisabled(true);
    int clicked = 0;
    for (auto &item : *menu)
        item->eventItemClicked = [&](TrellisItem *) { ++clicked; };
    show(menu);
    clickRow(root, 1);
    EXPECT_EQ(currentRow(root), 1);
    EXPECT_EQ(clicked, 1);
    clickRow(root, 2);
    EXPECT_EQ(currentRow(root), 1);
    EXPECT_EQ(clicked, 1);
    EXPECT_EQ(cell(root, 2)->label()->palette().color(QPalette::WindowText),
              cell(root, 2)->disabledTextColor);
}
