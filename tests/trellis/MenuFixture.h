#pragma once
// A shown window holding one root menu level, with helpers to drive it by
// keyboard and mouse as a person would.
#include "TrellisCellView.h"
#include <trellis/TreeMenuTableView.h>
#include <trellis/TrellisController.h>
#include <trellis/TrellisItemCheckBox.h>
#include <trellis/TrellisItemHotKey.h>
#include <trellis/TrellisItemRadioGroup.h>
#include <trellis/TrellisItemSlider.h>
#include <trellis/TrellisItemTextEdit.h>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

template <typename T = TrellisItem> std::shared_ptr<T> makeItem(const QString &label)
{
    auto item = std::make_shared<T>();
    item->setLabelText(label);
    return item;
}

// Plain items "<prefix>0" .. "<prefix>n-1".
inline TrellisMenuPtr plainMenu(int n, const QString &prefix = QStringLiteral("item "))
{
    auto menu = trellisMenu();
    for (int i = 0; i < n; ++i)
        menu->append(makeItem(prefix + QString::number(i)));
    return menu;
}

class MenuFixture : public ::testing::Test
{
protected:
    void TearDown() override
    {
        window.reset();
        // Rows and nested levels are deleted later; let that happen.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    // Shows a window of the given size with a root level holding `menu`.
    TrellisController *show(TrellisMenuPtr menu, QSize size = {400, 600})
    {
        window = std::make_unique<QWidget>();
        window->resize(size);
        root = new TrellisController(window.get());
        root->setGeometry(0, 0, size.width(), size.height());
        root->setMenu(std::move(menu));
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        root->updateLayout();
        settle();
        return root;
    }

    // Lets queued work (focus changes, nested levels, selections) run.
    static void settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }

    static QWidget *focus() { return QApplication::focusWidget(); }

    // Presses a key on whatever has the focus, as the keyboard would.
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier, bool autoRepeat = false)
    {
        QWidget *target = focus();
        ASSERT_NE(target, nullptr) << "nothing has the keyboard focus";
        QKeyEvent press(QEvent::KeyPress, k, mods, QString(), autoRepeat);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, k, mods, QString(), autoRepeat);
        QApplication::sendEvent(target, &release);
        settle();
    }

    // The level whose table has the focus.
    static TrellisController *focusedLevel()
    {
        for (QWidget *w = focus(); w; w = w->parentWidget())
            if (auto *c = qobject_cast<TrellisController *>(w))
                return c;
        return nullptr;
    }

    static int currentRow(TrellisController *level) { return level->tableView()->selectedRow(); }

    static TrellisCellView *cell(TrellisController *level, int row)
    {
        return qobject_cast<TrellisCellView *>(level->tableView()->rowWidget(row));
    }

    // Clicks a row's label strip (or at `y` within the row).
    static void clickRow(TrellisController *level, int row, int y = 5)
    {
        TrellisCellView *c = cell(level, row);
        ASSERT_NE(c, nullptr);
        QTest::mouseClick(c, Qt::LeftButton, Qt::NoModifier, QPoint(20, y));
        settle();
    }

    std::unique_ptr<QWidget> window;
    QPointer<TrellisController> root;
};
