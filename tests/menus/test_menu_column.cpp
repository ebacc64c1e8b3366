// The menu column as the user drives it: which trees and tabs each edition
// and mode gets, tab switching, the slider edit cycle, the marker, language,
// battery and OCR language rules.
#include "MenuTestSupport.h"

#include <QAccessible>

using VizoCmd::MarkersOff;
using VizoCmd::SetAutoScrollSpeed;
using VizoCmd::SetMarkerType;

TEST_F(MenuColumn, TreesAndHeaderFollowEditionModeAndView)
{
    open(VizoSettings::Ridge, 1);
    ASSERT_EQ(menu->segmentedController()->numOfButton(), 2);
    const TrellisMenuPtr options = root(0)->menu();
    EXPECT_EQ(labels(options), (QStringList{"Color mode", "Contrast", "Marker", "Focus lock",
                                            "Voice guide", "Language", "Initialization",
                                            "Change Wi-Fi password", "Information", "Exit"}));
    EXPECT_EQ(options->at(1), menu->optionsMenu()->menuItemOption_Contrast_Near);
    // Ridge: no field mode, no perspective, no Files tab.
    EXPECT_NE(root(1)->menu()->first(), menu->ocrMenu()->menuItemOCR_FieldMode);
    EXPECT_EQ(menu->ocrMenu()->menuItemOCR_Correction->subMenu()->size(), 2);
    EXPECT_EQ(root(2), nullptr);
    app->closeMenu();

    open(VizoSettings::Summit, 0);
    EXPECT_EQ(menu->segmentedController()->numOfButton(), 3);
    EXPECT_EQ(root(0)->menu()->size(), 13); // distance view: no auto-scroll
    EXPECT_EQ(root(0)->menu()->at(1), menu->optionsMenu()->menuItemOption_Contrast_Distance);
    EXPECT_EQ(menu->ocrMenu()->menuItemOCR_Correction->subMenu()->size(), 3);
    // Screen readers meet page tabs in a tab list, the shown one selected,
    // and can press one.
    {
        SegmentedController *header = menu->segmentedController();
        QAccessibleInterface *ocrTab = QAccessible::queryAccessibleInterface(header->viewOCR());
        ASSERT_NE(ocrTab, nullptr);
        EXPECT_EQ(ocrTab->role(), QAccessible::PageTab);
        EXPECT_EQ(ocrTab->parent()->role(), QAccessible::PageTabList);
        EXPECT_EQ(ocrTab->text(QAccessible::Name), header->viewOCR()->text());
        EXPECT_FALSE(ocrTab->state().selected);
        EXPECT_TRUE(QAccessible::queryAccessibleInterface(header->viewOption())->state().selected);
        ASSERT_NE(ocrTab->actionInterface(), nullptr);
        ocrTab->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_EQ(menu->settingsTabView()->currentIndex(), 1);
        EXPECT_TRUE(ocrTab->state().selected);
    }
    app->closeMenu();

    // OCR running: one header button, the OCR tree in front, its languages
    // fixed; clicking the button selects index 0 with OCR highlighted.
    open(VizoSettings::Summit, 1, 1);
    SegmentedController *header = menu->segmentedController();
    EXPECT_EQ(header->numOfButton(), 1);
    EXPECT_TRUE(header->viewOption()->isHidden());
    EXPECT_FALSE(header->viewOCR()->isHidden());
    EXPECT_EQ(menu->settingsTabView()->currentIndex(), 1);
    EXPECT_EQ(root(0), menu->ocrMenuController());
    EXPECT_FALSE(root(0)->menu()->contains(menu->ocrMenu()->menuItemOCR_Language));
    header->viewOCR()->click();
    EXPECT_EQ(header->selectedIndex(), 0);
    EXPECT_TRUE(header->viewOCR()->isChecked());
    app->closeMenu();

    open(VizoSettings::Valley, 1);
    EXPECT_EQ(menu->segmentedController()->numOfButton(), 0);
    EXPECT_TRUE(menu->optionsMenuController()->menu()->isEmpty());
    EXPECT_TRUE(menu->ocrMenuController()->menu()->isEmpty());
}

TEST_F(MenuColumn, ArrowsWrapTabsOrStepTheSliderOfAnOpenSubMenu)
{
    open(VizoSettings::Summit, 1);
    // The contrast slider lies in the root: the arrows switch tabs, and the
    // row in front of the new tab is read out.
    key(Qt::Key_Down);
    ASSERT_EQ(menu->selectedMenuItem(0), menu->optionsMenu()->menuItemOption_Contrast_Near.get());
    sent.clear();
    menu->onArrowKey(-1);
    EXPECT_EQ(menu->segmentedController()->selectedIndex(), 2);
    EXPECT_EQ(menu->settingsTabView()->currentIndex(), 2);
    menu->onArrowKey(+1);
    EXPECT_EQ(menu->segmentedController()->selectedIndex(), 0);
    menu->onArrowKey(+1);
    EXPECT_EQ(menu->segmentedController()->selectedIndex(), 1);
    EXPECT_EQ(spoken().last(), settings()->text("MenuName", "OCR.FieldMode"));
    EXPECT_TRUE(commands().isEmpty());
    EXPECT_EQ(settings()->options()->contrastForNear(),
              menu->optionsMenu()->menuItemOption_Contrast_Near->valueOfSlider());
    app->closeMenu();

    open(VizoSettings::Ridge, 1);
    menu->onArrowKey(-1);
    EXPECT_EQ(menu->segmentedController()->selectedIndex(), 1);
    menu->onArrowKey(+1);
    EXPECT_EQ(menu->segmentedController()->selectedIndex(), 0);
    app->closeMenu();

    open(VizoSettings::Ridge, 1, 1);
    menu->onArrowKey(+1);
    EXPECT_EQ(menu->segmentedController()->selectedIndex(), 0);
    EXPECT_EQ(menu->settingsTabView()->currentIndex(), 1);
}

TEST_F(MenuColumn, ScrollSpeedEditCycle)
{
    settings()->options()->setAutoscrollSpeed(5);
    open(VizoSettings::Summit, 1);
    OptionsMenu *o = menu->optionsMenu();
    moveTo("Auto-scroll");
    key(Qt::Key_Return);
    ASSERT_TRUE(menu->isMenuExpanded());
    ASSERT_EQ(menu->selectedMenuItem(0), o->menuItemOption_AutoScroll_ScrollSpeed.get());

    // Idle: the step is undone and nothing is sent.
    menu->onArrowKey(-1);
    waitMs(30);
    EXPECT_EQ(o->menuItemOption_AutoScroll_ScrollSpeed->valueOfSlider(), 5);
    EXPECT_TRUE(commands().isEmpty());

    key(Qt::Key_Return); // begin the edit
    menu->onArrowKey(-1);
    EXPECT_EQ(settings()->options()->autoscrollSpeed(), 4);
    EXPECT_EQ(commands(), (QList<QByteArray>{SetAutoScrollSpeed(4).payload()}));
    sent.clear();
    // Escape goes back to where the edit began.
    key(Qt::Key_Escape);
    EXPECT_EQ(o->menuItemOption_AutoScroll_ScrollSpeed->valueOfSlider(), 5);
    EXPECT_EQ(settings()->options()->autoscrollSpeed(), 5);
    EXPECT_EQ(commands(), (QList<QByteArray>{SetAutoScrollSpeed(5).payload()}));
    EXPECT_TRUE(menu->isMenuExpanded());

    // At the bottom of the range a step sends nothing.
    settings()->options()->setAutoscrollSpeed(0);
    menu->reloadSettings();
    key(Qt::Key_Return);
    sent.clear();
    menu->onArrowKey(-1);
    EXPECT_TRUE(sent.isEmpty());

    // closeUI cancels the edit in progress, then closes the menu.
    menu->onArrowKey(+1);
    sent.clear();
    menu->closeUI();
    waitMs(30);
    EXPECT_EQ(settings()->options()->autoscrollSpeed(), 0);
    EXPECT_EQ(commands(), (QList<QByteArray>{SetAutoScrollSpeed(0).payload(),
                                             VizoCmd::MenuClosed().payload()}));
    EXPECT_FALSE(menu->isOpened());
}

TEST_F(MenuColumn, MarkerRadiosAndTheirSetRows)
{
    open(VizoSettings::Summit, 0);
    OptionsMenu *o = menu->optionsMenu();
    auto line = o->menuItemOption_Marker_Mode[0][0];
    auto setLine = o->menuItemOption_Marker_SetLineMarkerPosition[0];
    auto setWindow = o->menuItemOption_Marker_SetWindowMarkerSize[0];
    EXPECT_TRUE(setLine->disabled());
    EXPECT_TRUE(setWindow->disabled());
    moveTo("Marker");
    key(Qt::Key_Return);
    ASSERT_EQ(menu->selectedMenuItem(0), line.get());
    sent.clear();

    key(Qt::Key_Return);
    EXPECT_TRUE(line->valueOfRadioGroup());
    EXPECT_EQ(settings()->options()->markerModeForDistance(), 0);
    EXPECT_EQ(commands(), (QList<QByteArray>{SetMarkerType(1, 0).payload()}));
    EXPECT_FALSE(setLine->disabled());
    EXPECT_TRUE(setWindow->disabled());

    // Choosing it again switches markers off, and says so.
    sent.clear();
    key(Qt::Key_Return);
    EXPECT_EQ(settings()->options()->markerModeForDistance(), 4);
    EXPECT_EQ(commands(), (QList<QByteArray>{MarkersOff().payload()}));
    EXPECT_EQ(spoken(), (QStringList{"Off"}));
    EXPECT_TRUE(setLine->disabled());

    // A radio switched off while another mode is the view's sends nothing.
    settings()->options()->setMarkerModeForDistance(2);
    menu->reloadSettings();
    EXPECT_TRUE(o->menuItemOption_Marker_Mode[0][2]->valueOfRadioGroup());
    EXPECT_FALSE(setWindow->disabled());
    sent.clear();
    line->eventValueChanged(line.get(), false);
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_EQ(settings()->options()->markerModeForDistance(), 2);
}

TEST_F(MenuColumn, LanguageSwitchReloadsTextsAndReselectingSendsNothing)
{
    open(VizoSettings::Summit, 1);
    OptionsMenu *o = menu->optionsMenu();
    ASSERT_EQ(o->menuItemOptions_ArrayOfLanguage.size(), 5);
    auto english = o->menuItemOptions_ArrayOfLanguage.at(0);
    auto french = o->menuItemOptions_ArrayOfLanguage.at(1);
    EXPECT_TRUE(english->valueOfRadioGroup());

    english->eventValueChanged(english.get(), true);
    EXPECT_TRUE(sent.isEmpty());

    french->exclusiveSelect();
    french->eventValueChanged(french.get(), true);
    EXPECT_EQ(commands(), (QList<QByteArray>{VizoCmd::SetLanguage(2).payload()}));
    EXPECT_EQ(settings()->vizoRegion()->getCurrentLanguage()->code(), 2);
    EXPECT_EQ(settings()->ocr()->language(),
              settings()->vizoRegion()->getCurrentLanguage()->ocrBitMask());
    const QString frenchExit = settings()->text("MenuName", "Exit");
    ASSERT_FALSE(frenchExit.isEmpty());
    EXPECT_EQ(o->menuItemOption_Exit->labelText(), frenchExit);
    EXPECT_EQ(menu->segmentedController()->viewOption()->text(),
              settings()->text("MenuName", "Option"));
}

TEST_F(MenuColumn, BatteryRequestsOnlyWhileInformationIsOpen)
{
    open(VizoSettings::Summit, 1);
    OptionsMenu *o = menu->optionsMenu();
    moveTo("Information");
    sent.clear();
    key(Qt::Key_Return);
    waitMs(50);
    EXPECT_TRUE(commands().contains(VizoCmd::RequestBatteryInfo().payload()));
    EXPECT_TRUE(o->isBatteryTimerRunning());

    settings()->options()->setInfo_battery("42%");
    menu->updateBatteryInfo();
    EXPECT_TRUE(o->menuItemOption_Information_Battery->labelText().contains("42%"));

    key(Qt::Key_Escape);
    waitMs(50);
    EXPECT_FALSE(menu->isMenuExpanded());
    EXPECT_FALSE(o->isBatteryTimerRunning());

    // Closing the whole menu from inside the level stops them too.
    key(Qt::Key_Return);
    waitMs(50);
    ASSERT_TRUE(o->isBatteryTimerRunning());
    app->closeMenu();
    EXPECT_FALSE(o->isBatteryTimerRunning());
}

TEST_F(MenuColumn, OCRLanguagesKeepTheInterfaceLanguageAndOneMore)
{
    open(VizoSettings::Summit, 1);
    OCRMenu *ocr = menu->ocrMenu();
    const QList<std::shared_ptr<TrellisItemCheckBox>> &boxes = ocr->menuItemOCR_ArrayOfOCRLanguage;
    ASSERT_EQ(boxes.size(), 6); // English French German Spanish Italian Dutch
    const quint32 english = boxes.at(0)->userData().toUInt();
    settings()->ocr()->setLanguage(english);
    menu->reloadSettings();
    ASSERT_TRUE(boxes.at(0)->valueOfCheckBox());

    auto turn = [&](int i, bool on) {
        boxes.at(i)->setValueOfCheckBox(on);
        boxes.at(i)->eventValueChanged(boxes.at(i).get(), on);
    };
    const quint32 german = boxes.at(2)->userData().toUInt();
    const quint32 spanish = boxes.at(3)->userData().toUInt();
    turn(2, true);
    EXPECT_EQ(settings()->ocr()->language(), english | german);
    turn(3, true);
    EXPECT_EQ(settings()->ocr()->language(), english | spanish);
    EXPECT_FALSE(boxes.at(2)->valueOfCheckBox());
    EXPECT_TRUE(boxes.at(0)->valueOfCheckBox());
    EXPECT_EQ(commands(),
              (QList<QByteArray>{VizoCmd::SetOcrLanguages(english | german).payload(),
                                 VizoCmd::SetOcrLanguages(english | spanish).payload()}));

    sent.clear();
    turn(0, false);
    EXPECT_TRUE(boxes.at(0)->valueOfCheckBox());
    EXPECT_EQ(settings()->ocr()->language(), english | spanish);
    EXPECT_TRUE(sent.isEmpty());
}

TEST_F(MenuColumn, InitializationAsksBeforeResetting)
{
    open(VizoSettings::Summit, 1);
    settings()->options()->setFocusLock(true);
    menu->reloadSettings();
    auto optionGroup = menu->optionsMenu()->menuItemOption_Initialization_Group[0];
    auto answer = [this](bool yes) {
        answerNextBox(nullptr, [yes](ModalWindowController *box) {
            auto *question = static_cast<YesNoMessageBoxController *>(box);
            yes ? question->onYes() : question->onNo();
        });
    };
    const QString question = settings()->text("Messages", "ConfirmAlert.Initialization");

    answer(false);
    optionGroup->eventItemClicked(optionGroup.get());
    EXPECT_EQ(spoken(), (QStringList{question, settings()->text("Messages", "TTS.Cancelled")}));
    EXPECT_TRUE(commands().isEmpty());
    EXPECT_TRUE(settings()->options()->focusLock());

    sent.clear();
    answer(true);
    optionGroup->eventItemClicked(optionGroup.get());
    EXPECT_EQ(commands(), (QList<QByteArray>{VizoCmd::ResetSettings(0).payload()}));
    EXPECT_FALSE(settings()->options()->focusLock());
    EXPECT_FALSE(menu->optionsMenu()->menuItemOption_FocusLock->valueOfCheckBox());
}

TEST_F(MenuColumn, CaptureWindowMenuGetsItsKeysBackAfterEachRecomputation)
{
    open(VizoSettings::Summit, 1);
    app->closeMenu();
    OCRModeCaptureViewController window{*AppDelegate::instance()};
    window.loadWindow();
    settings()->setVizoMode(1);
    window.vizoModeChanged();
    ASSERT_EQ(settings()->vizoHotKeyMode(), 2);

    app->openMenu();
    waitMs(60);
    auto *own = qobject_cast<VizoMenuController *>(window.menuController());
    ASSERT_NE(own, nullptr);
    ASSERT_TRUE(own->isOpened());
    // OCR running: the OCR tree alone, without its languages.
    EXPECT_EQ(own->segmentedController()->numOfButton(), 1);
    EXPECT_EQ(own->rootForTab(0), own->ocrMenuController());
    EXPECT_TRUE(own->enableHotKeys());

    app->updateHotKeys();
    EXPECT_TRUE(own->enableHotKeys());

    // Its Exit row closes the window's menu, not the window.
    own->ocrMenu()->menuItemOCR_Exit->eventItemClicked(own->ocrMenu()->menuItemOCR_Exit.get());
    EXPECT_FALSE(own->isOpened());
    EXPECT_FALSE(window.isClosed());
    app->updateHotKeys();
    EXPECT_FALSE(own->enableHotKeys());
    window.closeWindow();
}

// The rows that open a page show, once it has closed, what the page left in
// the settings; the next opening of the menu agrees with them.
TEST_F(MenuColumn, RowsThatOpenPagesShowWhatThePageLeft)
{
    open(VizoSettings::Summit, 1);
    OptionsMenu *o = menu->optionsMenu();
    VizoOptions *opt = settings()->options();
    opt->setContrastForNear(10);
    opt->setAutoscrollRange(1);
    menu->reloadSettings();
    const TrellisItemPtr slot = o->menuItemOption_ColorSlot[1][3];
    const QString slotBefore = slot->labelText();
    auto a4 = [o] { return o->menuItemOption_AutoScroll_ScrollRange_A4->valueOfCheckBox(); };
    const struct
    {
        const char *what;
        TrellisItem *row;
        QList<int> arrows;
        bool confirm;
        std::function<void()> check;
    } rows[] = {
        {"contrast",
         o->menuItemOption_Contrast_Near.get(),
         {Qt::Key_Right, Qt::Key_Right},
         true,
         [&] {
             EXPECT_EQ(opt->contrastForNear(), 12);
             EXPECT_EQ(o->menuItemOption_Contrast_Near->valueOfSlider(), 12);
         }},
        {"colour slot",
         slot.get(),
         {Qt::Key_Right},
         true,
         [&] {
             EXPECT_NE(slot->labelText(), slotBefore);
             EXPECT_EQ(slot->labelText(), opt->colorModeForNear()->slot(3)->toString());
         }},
        {"custom range cancelled",
         o->menuItemOption_AutoScroll_ScrollRange_Custom.get(),
         {},
         false,
         [&] {
             EXPECT_EQ(opt->autoscrollRange(), 1);
             EXPECT_TRUE(a4());
         }},
        {"custom range confirmed",
         o->menuItemOption_AutoScroll_ScrollRange_Custom.get(),
         {},
         true,
         [&] {
             EXPECT_EQ(opt->autoscrollRange(), 0);
             EXPECT_FALSE(a4());
         }},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        bool opened = false;
        QMetaObject::invokeMethod(
            app.get(),
            [&] {
                auto *page = qobject_cast<ModalWindowController *>(app->stackUI().top());
                if (!page)
                    return;
                opened = true;
                for (int arrow : row.arrows) {
                    QKeyEvent press(QEvent::KeyPress, arrow, Qt::NoModifier);
                    QApplication::sendEvent(page, &press);
                }
                // A page of two steps takes Return twice.
                for (int i = 0; i < 2 && row.confirm && !page->isClosed(); ++i)
                    page->onReturnKeyDown();
                if (!page->isClosed())
                    page->onEscKeyDown();
            },
            Qt::QueuedConnection);
        row.row->eventItemClicked(row.row);
        ASSERT_TRUE(opened);
        row.check();
    }
    app->closeMenu();
    open(VizoSettings::Summit, 1);
    EXPECT_FALSE(a4());
    EXPECT_EQ(o->menuItemOption_Contrast_Near->valueOfSlider(), 12);
}

// The OCR speech sliders: an arrow on an idle slider changes nothing on the
// device, an edit sends each step, Escape puts the value saved at the start
// of the edit back.
TEST_F(MenuColumn, SpeechSlidersEditCycle)
{
    VizoOCR *ocr = settings()->ocr();
    ocr->setVolumeOfTTS(5);
    ocr->setSpeedOfTTS(5);
    ocr->setPitchOfTTS(5);
    open(VizoSettings::Summit, 1);
    OCRMenu *m = menu->ocrMenu();
    menu->onArrowKey(+1); // the OCR tab
    moveTo(settings()->text("MenuName", "OCR.VoiceSettings"), 1);
    key(Qt::Key_Return);
    ASSERT_TRUE(menu->isMenuExpanded());
    const struct
    {
        TrellisItemSlider *slider;
        std::function<int()> setting;
        std::function<QByteArray(int)> command;
    } rows[] = {
        {m->menuItemOCR_VoiceSettings_TTSVolume.get(), [ocr] { return ocr->volumeOfTTS(); },
         [](int v) { return VizoCmd::SetTtsVolume(std::uint8_t(v)).payload(); }},
        {m->menuItemOCR_VoiceSettings_TTSSpeed.get(), [ocr] { return ocr->speedOfTTS(); },
         [](int v) { return VizoCmd::SetTtsSpeed(std::uint8_t(v)).payload(); }},
        {m->menuItemOCR_VoiceSettings_TTSPitch.get(), [ocr] { return ocr->pitchOfTTS(); },
         [](int v) { return VizoCmd::SetTtsPitch(std::uint8_t(v)).payload(); }},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.slider->labelText().toStdString());
        for (int i = 0; i < 10 && menu->selectedMenuItem(1) != row.slider; ++i)
            key(Qt::Key_Down);
        ASSERT_EQ(menu->selectedMenuItem(1), row.slider);
        sent.clear();
        menu->onArrowKey(-1);
        waitMs(30);
        EXPECT_EQ(row.slider->valueOfSlider(), 5);
        EXPECT_EQ(row.setting(), 5);
        EXPECT_TRUE(commands().isEmpty());

        key(Qt::Key_Return); // begin the edit
        menu->onArrowKey(-1);
        EXPECT_EQ(row.setting(), 4);
        EXPECT_EQ(commands(), (QList<QByteArray>{row.command(4)}));
        sent.clear();
        key(Qt::Key_Escape);
        EXPECT_EQ(row.slider->valueOfSlider(), 5);
        EXPECT_EQ(row.setting(), 5);
        EXPECT_EQ(commands(), (QList<QByteArray>{row.command(5)}));
        EXPECT_TRUE(menu->isMenuExpanded());
    }
}
