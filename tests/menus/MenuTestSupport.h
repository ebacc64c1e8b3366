#pragma once
// The real menu column in the main window of a delegate without a device:
// commands are recorded, keys go to the focused menu table.
#include "../core/AppTestSupport.h"

#include "kit/OCRModeCaptureViewController.h"
#include "kit/YesNoMessageBoxController.h"
#include "menus/OCRMenu.h"
#include "menus/OptionsMenu.h"
#include "menus/SegmentedController.h"
#include "menus/VizoMenuController.h"
#include "protocol/VizoCommands.h"

#include <trellis/TreeMenuTableView.h>
#include <trellis/TrellisController.h>
#include <trellis/TrellisItemCheckBox.h>
#include <trellis/TrellisItemRadioGroup.h>
#include <trellis/TrellisItemSlider.h>

#include <QApplication>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

struct MenuColumn : AppFixture
{
    VizoMenuController *menu = nullptr;

    void SetUp() override
    {
        AppFixture::SetUp();
        withWindow();
        menu = qobject_cast<VizoMenuController *>(app->menuController());
        ASSERT_NE(menu, nullptr);
        QWidget *window = app->window();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }

    // Opens the menu of `edition` in camera view `view` and mode `mode`,
    // region Europe with English as the interface language.
    void open(int edition, int view = 1, int mode = 0)
    {
        VizoSettings *s = settings();
        s->setVizoVersion(edition);
        s->setCameraMode(view);
        s->setVizoMode(mode);
        s->setVizoRegion(std::make_unique<VizoRegion>(2));
        s->vizoRegion()->setCurrentLanguageWithCode(1);
        s->reloadLanguageStrings();
        app->openMenu();
        waitMs(60);
        sent.clear();
    }

    TrellisController *root(int tab) const { return menu->rootForTab(tab); }

    static QStringList labels(const TrellisMenuPtr &items)
    {
        QStringList out;
        for (const TrellisItemPtr &item : *items)
            out << item->labelText();
        return out;
    }

    // A key pressed on whatever has the keyboard.
    void key(Qt::Key k)
    {
        QWidget *target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, k);
        waitMs(30);
    }

    // Down until `label` is current in the focused level (at most 30 rows).
    void moveTo(const QString &label, int tab = 0)
    {
        for (int i = 0; i < 30; ++i) {
            if (TrellisItem *item = menu->selectedMenuItem(tab); item && item->labelText() == label)
                return;
            key(Qt::Key_Down);
        }
        FAIL() << "no row " << label.toStdString();
    }

    // Texts of the SpeakText commands sent.
    QStringList spoken() const
    {
        QStringList out;
        for (const QByteArray &payload : sent) {
            if (payload.size() >= 2 && payload.at(0) == 0x25 && payload.at(1) == 0x06) {
                const QByteArray text = payload.mid(2);
                out << QString::fromUtf16(reinterpret_cast<const char16_t *>(text.constData()),
                                          text.size() / 2)
                           .section(QChar(0), 0, 0);
            }
        }
        return out;
    }

    // The commands sent other than speech.
    QList<QByteArray> commands() const
    {
        QList<QByteArray> out;
        for (const QByteArray &payload : sent) {
            if (!(payload.size() >= 2 && payload.at(0) == 0x25 && payload.at(1) == 0x06))
                out << payload;
        }
        return out;
    }
};
