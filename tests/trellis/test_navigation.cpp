// Moving the current row by keyboard: wrap-around, disabled rows, held keys.
#include "MenuFixture.h"

#include <QLabel>

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

TEST_F(Navigation, DebugPaint)
{
    auto menu = plainMenu(2);
    show(menu);
    root->setCellHilightColor(Qt::blue);
    root->setCellHilightTextColor(Qt::white);
    QImage img = cell(root, 0)->grab().toImage();
    int white = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == QColor(Qt::white)) ++white;
    EXPECT_GT(white, 10);
    img.save("/tmp/cell.png");
}
