#include "OptionsMenu.h"

#include "VizoMenuController.h"

#include "kit/AppContext.h"
#include "pages/VizoPages.h"
#include "protocol/VizoCommands.h"
#include "settings/VizoSettings.h"

#include <bramble/BrDispatchTimer.h>
#include <trellis/TrellisItemCheckBox.h>
#include <trellis/TrellisItemRadioGroup.h>
#include <trellis/TrellisItemSlider.h>

#include <QTimer>

namespace {

constexpr int kDistance = 0;
constexpr int kNear = 1;
constexpr double kBatteryPollSeconds = 5.0;

const char *const kMarkerKeys[4] = {
    "Option.Marker.HorizontalLineMarker",
    "Option.Marker.VerticalLineMarker",
    "Option.Marker.HorizontalWindowMarker",
    "Option.Marker.VerticalWindowMarker",
};
const char *const kJoystickKeys[4] = {
    "Option.JoystickSensitivity.Auto",
    "Option.JoystickSensitivity.Fast",
    "Option.JoystickSensitivity.Middle",
    "Option.JoystickSensitivity.Low",
};
const char *const kInitializationKeys[3] = {
    "Option.Initialization.Option",
    "Option.Initialization.OCR",
    "Option.Initialization.All",
};

int markerMode(const VizoOptions *options, int view)
{
    return view == kDistance ? options->markerModeForDistance() : options->markerModeForNear();
}

void setMarkerMode(VizoOptions *options, int view, int mode)
{
    if (view == kDistance)
        options->setMarkerModeForDistance(mode);
    else
        options->setMarkerModeForNear(mode);
}

int contrast(const VizoOptions *options, int view)
{
    return view == kDistance ? options->contrastForDistance() : options->contrastForNear();
}

} // namespace

VizoOptions *OptionsMenu::options() const
{
    return settings()->options();
}

OptionsMenu::OptionsMenu(VizoMenuController *owner) : VizoMenuTree(owner) {}

OptionsMenu::~OptionsMenu()
{
    stopBatteryTimer();
}

// ---- items

void OptionsMenu::makeMenu()
{
    stopBatteryTimer();
    clearItems();
    makeColorMode();

    for (int view : {kDistance, kNear}) {
        auto slider = item<TrellisItemSlider>("Option.Contrast");
        slider->setMinValue(0);
        slider->setMaxValue(39);
        slider->eventItemClicked = [self = QPointer(this), view](TrellisItem *) {
            if (self)
                self->onContrastClicked(view);
        };
        slider->eventValueChanged = [self = QPointer(this), view](TrellisItem *, const QVariant &) {
            if (self)
                self->onContrastChanged(view);
        };
        (view == kDistance ? menuItemOption_Contrast_Distance : menuItemOption_Contrast_Near) =
            slider;
    }

    makeMarker();

    menuItemOption_FocusLock = item<TrellisItemCheckBox>("Option.FocusLock");
    menuItemOption_FocusLock->eventValueChanged = [self = QPointer(this)](TrellisItem *, const QVariant &value) {
        if (!self)
            return;
        self->options()->setFocusLock(value.toBool());
        self->context().writeVizoPacket(VizoCmd::SetFocusLock(value.toBool() ? 1 : 0).payload());
    };

    menuItemOption_CameraScrollDirection = item("Option.CameraScrollDirection");
    menuItemOption_CameraScrollDirection_Horizontal =
        item<TrellisItemCheckBox>("Option.CameraScrollDirection.Horizontal");
    menuItemOption_CameraScrollDirection_Vertical =
        item<TrellisItemCheckBox>("Option.CameraScrollDirection.Vertical");
    // The pair behaves as a radio pair, whatever the box's new value.
    menuItemOption_CameraScrollDirection_Horizontal->eventValueChanged =
        [self = QPointer(this)](TrellisItem *, const QVariant &) {
            if (self)
                self->onScrollDirectionChanged(0);
        };
    menuItemOption_CameraScrollDirection_Vertical->eventValueChanged =
        [self = QPointer(this)](TrellisItem *, const QVariant &) {
            if (self)
                self->onScrollDirectionChanged(1);
        };
    menuItemOption_CameraScrollDirection->setSubMenu(
        menuOf({menuItemOption_CameraScrollDirection_Horizontal,
                menuItemOption_CameraScrollDirection_Vertical, exitItem()}));

    makeAutoScroll();

    menuItemOption_JoystickSensitivity = item("Option.JoystickSensitivity");
    QList<TrellisItemPtr> joystick;
    for (int level = 0; level < 4; ++level) {
        auto radio = item<TrellisItemRadioGroup>(kJoystickKeys[level]);
        radio->eventValueChanged = [self = QPointer(this), level](TrellisItem *,
                                                                  const QVariant &value) {
            if (self && value.toBool())
                self->onJoystickChanged(level);
        };
        menuItemOption_JoystickSensitivity_Level[std::size_t(level)] = radio;
        joystick << radio;
    }
    joystick << exitItem();
    menuItemOption_JoystickSensitivity->setSubMenu(menuOf(joystick));

    menuItemOption_DistanceViewDirection = item("Option.DistanceViewDirection");
    menuItemOption_DistanceViewDirection->eventItemClicked = [app = &context()](TrellisItem *) {
        VizoPages::doDistanceViewDirectionSetting(*app);
    };

    menuItemOption_VoiceGuide = item<TrellisItemCheckBox>("Option.VoiceGuide");
    menuItemOption_VoiceGuide->eventValueChanged = [self = QPointer(this)](TrellisItem *, const QVariant &value) {
        if (!self)
            return;
        self->options()->setVoiceGuide(value.toBool());
        self->context().writeVizoPacket(VizoCmd::SetVoiceGuide(value.toBool() ? 1 : 0).payload());
    };

    makeLanguage();

    menuItemOption_Initialization = item("Option.Initialization");
    QList<TrellisItemPtr> groups;
    for (int group = 0; group < 3; ++group) {
        auto entry = item(kInitializationKeys[group]);
        entry->eventItemClicked = [self = QPointer(this), group](TrellisItem *) {
            if (self)
                self->onInitializationClicked(group);
        };
        menuItemOption_Initialization_Group[std::size_t(group)] = entry;
        groups << entry;
    }
    groups << exitItem();
    menuItemOption_Initialization->setSubMenu(menuOf(groups));

    menuItemOption_WiFiPassword = item("Option.WiFiPasswordChange");
    menuItemOption_WiFiPassword->eventItemClicked = [app = &context()](TrellisItem *) {
        VizoPages::doWiFiPasswordChange(*app);
    };

    makeInformation();

    menuItemOption_Exit = item("Exit");
    menuItemOption_Exit->eventItemClicked = [app = &context()](TrellisItem *) { app->closeMenu(); };
}

void OptionsMenu::makeColorMode()
{
    menuItemOption_ColorMode = item("Option.ColorMode");
    menuItemOption_ColorMode->eventItemClicked = weakly(&OptionsMenu::onColorModeClicked);
    for (int view : {kDistance, kNear}) {
        QList<TrellisItemPtr> list;
        for (int slot = 0; slot < VizoColorMode::kSlotCount; ++slot) {
            auto entry = unlabelledItem();
            // Slot 0 is natural colours, fixed: nothing to edit.
            if (slot > 0) {
                entry->eventItemClicked = [self = QPointer(this), view, slot](TrellisItem *) {
                    if (self)
                        self->onColorSlotClicked(view, slot);
                };
            }
            menuItemOption_ColorSlot[std::size_t(view)][std::size_t(slot)] = entry;
            list << entry;
        }
        list << exitItem();
        menuColorList[std::size_t(view)] = menuOf(list);
    }
}

void OptionsMenu::makeMarker()
{
    menuItemOption_Marker = item("Option.Marker");
    menuItemOption_Marker->eventItemClicked = weakly(&OptionsMenu::onMarkerClicked);
    for (int view : {kDistance, kNear}) {
        const auto v = std::size_t(view);
        QList<TrellisItemPtr> list;
        for (int mode = 0; mode < 4; ++mode) {
            auto radio = item<TrellisItemRadioGroup>(kMarkerKeys[mode]);
            // Choosing the shown marker again switches markers off.
            radio->setEnableToggle(true);
            radio->eventValueChanged = [self = QPointer(this), view, mode](TrellisItem *,
                                                                           const QVariant &value) {
                if (self)
                    self->onMarkerRadioChanged(view, mode, value.toBool());
            };
            menuItemOption_Marker_Mode[v][std::size_t(mode)] = radio;
            list << radio;
        }
        auto setLine = item("Option.Marker.SetLineMarkerPosition");
        auto setWindow = item("Option.Marker.SetWindowMarkerSize");
        for (const TrellisItemPtr &set : {setLine, setWindow}) {
            set->eventItemClicked = [self = QPointer(this), view](TrellisItem *) {
                if (self)
                    self->onMarkerSetClicked(view);
            };
        }
        menuItemOption_Marker_SetLineMarkerPosition[v] = setLine;
        menuItemOption_Marker_SetWindowMarkerSize[v] = setWindow;
        list << setLine << setWindow << exitItem();
        menuMarkerSetting[v] = menuOf(list);
    }
}

void OptionsMenu::makeAutoScroll()
{
    menuItemOption_AutoScroll = item("Option.AutoScroll");
    menuItemOption_AutoScroll_ScrollSpeed =
        item<TrellisItemSlider>("Option.AutoScroll.ScrollSpeed");
    menuItemOption_AutoScroll_ScrollSpeed->setMinValue(0);
    menuItemOption_AutoScroll_ScrollSpeed->setMaxValue(10);
    menuItemOption_AutoScroll_ScrollSpeed->setEnableRollback(true);
    menuItemOption_AutoScroll_ScrollSpeed->eventBeginEdit =
        weakly(&OptionsMenu::onScrollSpeedBeginEdit);
    menuItemOption_AutoScroll_ScrollSpeed->eventValueChanged =
        weakly(&OptionsMenu::onScrollSpeedChanged);
    menuItemOption_AutoScroll_ScrollSpeed->eventCancelEdit =
        weakly(&OptionsMenu::onScrollSpeedCancelled);

    menuItemOption_AutoScroll_ScrollRange = item("Option.AutoScroll.ScrollRange");
    menuItemOption_AutoScroll_ScrollRange_A4 =
        item<TrellisItemCheckBox>("Option.AutoScroll.ScrollRange.A4");
    menuItemOption_AutoScroll_ScrollRange_A4->eventValueChanged = weakly(&OptionsMenu::onA4Changed);
    menuItemOption_AutoScroll_ScrollRange_Custom = item("Option.AutoScroll.ScrollRange.Custom");
    menuItemOption_AutoScroll_ScrollRange_Custom->eventItemClicked =
        weakly(&OptionsMenu::onCustomRangeClicked);
    menuItemOption_AutoScroll_ScrollRange->setSubMenu(
        menuOf({menuItemOption_AutoScroll_ScrollRange_A4,
                menuItemOption_AutoScroll_ScrollRange_Custom, exitItem()}));

    menuItemOption_AutoScroll->setSubMenu(
        menuOf({menuItemOption_AutoScroll_ScrollSpeed, menuItemOption_AutoScroll_ScrollRange,
                exitItem()}));
}

void OptionsMenu::makeLanguage()
{
    menuItemOption_Language = item("Option.Language");
    menuItemOptions_ArrayOfLanguage.clear();
    QList<TrellisItemPtr> list;
    if (const VizoRegion *region = settings()->vizoRegion()) {
        for (const VizoLanguage &language : region->languages()) {
            auto radio = unlabelledItem<TrellisItemRadioGroup>();
            radio->setUserData(language.code());
            radio->eventValueChanged = weakly(&OptionsMenu::onLanguageChanged);
            menuItemOptions_ArrayOfLanguage << radio;
            list << radio;
        }
    }
    list << exitItem();
    menuItemOption_Language->setSubMenu(menuOf(list));
}

void OptionsMenu::makeInformation()
{
    menuItemOption_Information = item("Option.Information");
    menuItemOption_Information_SoftwareVersion = unlabelledItem();
    menuItemOption_Information_Battery = unlabelledItem();
    menuItemOption_Information_AP = unlabelledItem();
    menuItemOption_Information->setSubMenu(
        menuOf({menuItemOption_Information_SoftwareVersion, menuItemOption_Information_Battery,
                menuItemOption_Information_AP, exitItem()}));
    menuItemOption_Information->eventMenuExpanded = weakly(&OptionsMenu::onInformationExpanded);
    menuItemOption_Information->eventMenuCollapsed = weakly(&OptionsMenu::onInformationCollapsed);
}

TrellisMenuPtr OptionsMenu::buildMenuTree()
{
    const VizoSettings *s = settings();
    const int edition = s->vizoVersion();
    const int view = s->cameraMode();
    if ((edition != VizoSettings::Summit && edition != VizoSettings::Ridge) ||
        (view != kDistance && view != kNear))
        return menuOf({});
    // The colour and marker rows open the lists of the current view.
    menuItemOption_ColorMode->setSubMenu(menuColorList[std::size_t(view)]);
    menuItemOption_Marker->setSubMenu(menuMarkerSetting[std::size_t(view)]);
    const TrellisItemPtr contrastItem = view == kDistance
                                            ? TrellisItemPtr(menuItemOption_Contrast_Distance)
                                            : TrellisItemPtr(menuItemOption_Contrast_Near);

    QList<TrellisItemPtr> root{menuItemOption_ColorMode, contrastItem, menuItemOption_Marker,
                               menuItemOption_FocusLock};
    if (edition == VizoSettings::Summit) {
        root << menuItemOption_CameraScrollDirection;
        if (view == kNear)
            root << menuItemOption_AutoScroll;
        root << menuItemOption_JoystickSensitivity << menuItemOption_DistanceViewDirection;
    }
    root << menuItemOption_VoiceGuide << menuItemOption_Language << menuItemOption_Initialization
         << menuItemOption_WiFiPassword << menuItemOption_Information << menuItemOption_Exit;
    return menuOf(root);
}

// ---- values and labels

void OptionsMenu::reloadSettings()
{
    if (!menuItemOption_FocusLock)
        return;
    const VizoOptions *o = options();
    menuItemOption_Contrast_Distance->setValueOfSlider(o->contrastForDistance());
    menuItemOption_Contrast_Near->setValueOfSlider(o->contrastForNear());
    reloadMarkers(kDistance, o->markerModeForDistance());
    reloadMarkers(kNear, o->markerModeForNear());
    menuItemOption_FocusLock->setValueOfCheckBox(o->focusLock());
    menuItemOption_VoiceGuide->setValueOfCheckBox(o->voiceGuide());
    if (o->autoscrollDirection() == 0 || o->autoscrollDirection() == 1) {
        menuItemOption_CameraScrollDirection_Horizontal->setValueOfCheckBox(
            o->autoscrollDirection() == 0);
        menuItemOption_CameraScrollDirection_Vertical->setValueOfCheckBox(
            o->autoscrollDirection() == 1);
    }
    menuItemOption_AutoScroll_ScrollSpeed->setValueOfSlider(o->autoscrollSpeed());
    menuItemOption_AutoScroll_ScrollRange_A4->setValueOfCheckBox(o->autoscrollRange() == 1);
    const int joystick = o->joystickSensitivity();
    if (joystick >= 0 && joystick < 4)
        menuItemOption_JoystickSensitivity_Level[std::size_t(joystick)]->exclusiveSelect();
    if (const VizoRegion *region = settings()->vizoRegion()) {
        if (const VizoLanguage *current = region->getCurrentLanguage()) {
            for (const auto &radio : std::as_const(menuItemOptions_ArrayOfLanguage)) {
                if (radio->userData().toInt() == current->code())
                    radio->exclusiveSelect();
            }
        }
    }
}

void OptionsMenu::reloadMarkers(int view, int mode)
{
    const auto v = std::size_t(view);
    if (mode >= 0 && mode < 4) {
        menuItemOption_Marker_Mode[v][std::size_t(mode)]->exclusiveSelect();
        menuItemOption_Marker_SetLineMarkerPosition[v]->setDisabled(mode > 1);
        menuItemOption_Marker_SetWindowMarkerSize[v]->setDisabled(mode < 2);
    } else if (mode == VizoOptions::NoMarker) {
        menuItemOption_Marker_Mode[v][0]->deselectAll();
        menuItemOption_Marker_SetLineMarkerPosition[v]->setDisabled(true);
        menuItemOption_Marker_SetWindowMarkerSize[v]->setDisabled(true);
    }
}

void OptionsMenu::reloadMenuLabel()
{
    if (!menuItemOption_FocusLock)
        return;
    VizoMenuTree::reloadMenuLabel();
    reloadColorSlotLabels();
    reloadInformationLabels();
    if (const VizoRegion *region = settings()->vizoRegion()) {
        const QList<VizoLanguage> &languages = region->languages();
        for (const auto &radio : std::as_const(menuItemOptions_ArrayOfLanguage)) {
            const int code = radio->userData().toInt();
            for (const VizoLanguage &language : languages) {
                if (language.code() == code) {
                    const QString name = region->getLanguageDisplayName(language);
                    radio->setLabelText(name.isEmpty() ? language.name() : name);
                    break;
                }
            }
        }
    }
}

void OptionsMenu::reloadColorSlotLabels()
{
    for (int view : {kDistance, kNear}) {
        const VizoColorMode *mode = options()->colorModeForCameraMode(view);
        for (int slot = 0; slot < VizoColorMode::kSlotCount; ++slot) {
            if (const VizoColorSlot *colorSlot = mode->slot(slot))
                menuItemOption_ColorSlot[std::size_t(view)][std::size_t(slot)]->setLabelText(
                    colorSlot->toString());
        }
    }
}

void OptionsMenu::reloadInformationLabels()
{
    const VizoOptions *o = options();
    menuItemOption_Information_SoftwareVersion->setLabelText(
        menuName(QStringLiteral("Option.Information.SoftwareVersion")).arg(o->info_sw()));
    menuItemOption_Information_AP->setLabelText(
        menuName(QStringLiteral("Option.Information.AP")).arg(o->info_ap()));
    updateBatteryInfo();
}

void OptionsMenu::updateBatteryInfo()
{
    if (!menuItemOption_Information_Battery)
        return;
    menuItemOption_Information_Battery->setLabelText(
        menuName(QStringLiteral("Option.Information.Battery")).arg(options()->info_battery()));
}

// ---- handlers

void OptionsMenu::onColorModeClicked(TrellisItem *item)
{
    const int view = settings()->cameraMode();
    if (view == kDistance || view == kNear)
        item->setSubMenu(menuColorList[std::size_t(view)]);
}

void OptionsMenu::onColorSlotClicked(int view, int slotIndex)
{
    const ConnectionGuard guard(context());
    const int edited = VizoPages::doColorSlotColorSetting(context(), view, slotIndex);
    if (!guard.alive())
        return;
    if (const VizoColorSlot *slot = options()->colorModeForCameraMode(view)->slot(edited))
        menuItemOption_ColorSlot[std::size_t(view)][std::size_t(edited)]->setLabelText(
            slot->toString());
    if (owner())
        owner()->updateMenuColor();
}

void OptionsMenu::onContrastClicked(int view)
{
    const ConnectionGuard guard(context());
    VizoPages::doContrastSetting(context());
    if (!guard.alive())
        return;
    auto slider =
        view == kDistance ? menuItemOption_Contrast_Distance : menuItemOption_Contrast_Near;
    slider->setValueOfSlider(contrast(options(), view));
}

void OptionsMenu::onContrastChanged(int view)
{
    // The contrast is changed on its page only: a drag on the row's slider
    // is put back once the slider has finished with it.
    std::weak_ptr<TrellisItemSlider> slider =
        view == kDistance ? menuItemOption_Contrast_Distance : menuItemOption_Contrast_Near;
    QMetaObject::invokeMethod(
        this,
        [this, slider, view] {
            if (auto s = slider.lock())
                s->setValueOfSlider(contrast(options(), view));
        },
        Qt::QueuedConnection);
}

void OptionsMenu::onMarkerClicked(TrellisItem *item)
{
    const int view = settings()->cameraMode();
    if (view == kDistance || view == kNear)
        item->setSubMenu(menuMarkerSetting[std::size_t(view)]);
}

void OptionsMenu::onMarkerRadioChanged(int view, int mode, bool on)
{
    const auto v = std::size_t(view);
    if (mode < 2) {
        menuItemOption_Marker_SetLineMarkerPosition[v]->setDisabled(!on);
        menuItemOption_Marker_SetWindowMarkerSize[v]->setDisabled(true);
    } else {
        menuItemOption_Marker_SetWindowMarkerSize[v]->setDisabled(!on);
        menuItemOption_Marker_SetLineMarkerPosition[v]->setDisabled(true);
    }
    if (on && markerMode(options(), view) != mode) {
        setMarkerMode(options(), view, mode);
        context().writeVizoPacket(VizoCmd::SetMarkerType(view == kDistance ? 1 : 2, std::uint8_t(mode)).payload());
    } else if (!on && markerMode(options(), view) == mode) {
        setMarkerMode(options(), view, VizoOptions::NoMarker);
        context().writeVizoPacket(VizoCmd::MarkersOff().payload());
        context().speak(message(QStringLiteral("TTS.Off")));
    }
}

void OptionsMenu::onMarkerSetClicked(int view)
{
    VizoPages::doMarkerSetting(context(), markerMode(options(), view));
}

void OptionsMenu::onScrollDirectionChanged(int direction)
{
    menuItemOption_CameraScrollDirection_Horizontal->setValueOfCheckBox(direction == 0);
    menuItemOption_CameraScrollDirection_Vertical->setValueOfCheckBox(direction == 1);
    if (options()->autoscrollDirection() != direction) {
        options()->setAutoscrollDirection(direction);
        context().writeVizoPacket(VizoCmd::SetAutoScrollDirection(std::uint8_t(direction)).payload());
    }
}

void OptionsMenu::onScrollSpeedBeginEdit(TrellisItem *item)
{
    if (auto *slider = qobject_cast<TrellisItemSlider *>(item))
        item->setValueForRollback(slider->valueOfSlider());
}

void OptionsMenu::onScrollSpeedChanged(TrellisItem *item, const QVariant &value)
{
    if (item->editState() == 1) {
        const int speed = value.toInt();
        if (options()->autoscrollSpeed() != speed) {
            options()->setAutoscrollSpeed(speed);
            context().writeVizoPacket(VizoCmd::SetAutoScrollSpeed(std::uint8_t(speed)).payload());
        }
        return;
    }
    // Not being edited: the value goes back to the setting.
    std::weak_ptr<TrellisItemSlider> slider = menuItemOption_AutoScroll_ScrollSpeed;
    QMetaObject::invokeMethod(
        this,
        [this, slider] {
            if (auto s = slider.lock())
                s->setValueOfSlider(options()->autoscrollSpeed());
        },
        Qt::QueuedConnection);
}

void OptionsMenu::onScrollSpeedCancelled(TrellisItem *, const QVariant &saved)
{
    if (!saved.isValid())
        return;
    const int speed = saved.toInt();
    menuItemOption_AutoScroll_ScrollSpeed->setValueOfSlider(speed);
    options()->setAutoscrollSpeed(speed);
    context().writeVizoPacket(VizoCmd::SetAutoScrollSpeed(std::uint8_t(speed)).payload());
}

void OptionsMenu::onA4Changed(TrellisItem *, const QVariant &value)
{
    const int range = value.toBool() ? 1 : 0;
    options()->setAutoscrollRange(range);
    context().writeVizoPacket(VizoCmd::SetAutoScrollRange(std::uint8_t(range)).payload());
}

void OptionsMenu::onCustomRangeClicked(TrellisItem *)
{
    // A confirmed custom range replaces the A4 range. The device turns its
    // A4 setting off at the confirmation; the model follows, or the next
    // opening of the menu would tick A4 again.
    const ConnectionGuard guard(context());
    const bool confirmed = VizoPages::doAutoScrollRangeSetting(context());
    if (!guard.alive() || !confirmed)
        return;
    options()->setAutoscrollRange(0);
    if (menuItemOption_AutoScroll_ScrollRange_A4)
        menuItemOption_AutoScroll_ScrollRange_A4->setValueOfCheckBox(false);
}

void OptionsMenu::onJoystickChanged(int level)
{
    if (options()->joystickSensitivity() == level)
        return;
    options()->setJoystickSensitivity(level);
    context().writeVizoPacket(VizoCmd::SetJoystickSensitivity(std::uint8_t(level)).payload());
}

void OptionsMenu::onLanguageChanged(TrellisItem *item, const QVariant &value)
{
    VizoSettings *s = settings();
    VizoRegion *region = s->vizoRegion();
    if (!value.toBool() || !region)
        return;
    const int code = item->userData().toInt();
    const VizoLanguage *current = region->getCurrentLanguage();
    if (current && current->code() == code)
        return;
    if (!region->setCurrentLanguageWithCode(code))
        return;
    if (const VizoLanguage *now = region->getCurrentLanguage())
        s->ocr()->setLanguage(now->ocrBitMask());
    s->reloadLanguageStrings();
    if (owner()) {
        owner()->reloadSettings();
        owner()->reloadMenuLabel();
    }
    context().writeVizoPacket(VizoCmd::SetLanguage(std::uint8_t(code)).payload());
}

void OptionsMenu::onInitializationClicked(int group)
{
    const QString question = message(QStringLiteral("ConfirmAlert.Initialization"));
    context().speak(question);
    const ConnectionGuard guard(context());
    const bool yes = context().showYesNoMessageBox(question);
    // The camera went away while the question was up: its answer belongs
    // to no connection.
    if (!guard.alive())
        return;
    if (!yes) {
        context().speak(message(QStringLiteral("TTS.Cancelled")));
        return;
    }
    VizoSettings *s = settings();
    if (group == 0)
        s->resetOption();
    else if (group == 1)
        s->resetOCR();
    else
        s->reset();
    context().updateHotKeys();
    context().updateMouseGestures();
    if (owner()) {
        owner()->reloadSettings();
        owner()->reloadMenuLabel();
    }
    context().writeVizoPacket(VizoCmd::ResetSettings(std::uint8_t(group)).payload());
}

void OptionsMenu::onInformationExpanded(TrellisItem *)
{
    context().writeVizoPacket(VizoCmd::RequestBatteryInfo().payload());
    stopBatteryTimer();
    m_timerForBatteryStats = BrDispatchTimer::createTimer(this);
    BrDispatchTimer::startTimer(m_timerForBatteryStats, kBatteryPollSeconds,
                                [app = &context()] { app->writeVizoPacket(VizoCmd::RequestBatteryInfo().payload()); });
}

void OptionsMenu::onInformationCollapsed(TrellisItem *)
{
    stopBatteryTimer();
}

void OptionsMenu::stopBatteryTimer()
{
    if (!m_timerForBatteryStats)
        return;
    BrDispatchTimer::stopTimer(m_timerForBatteryStats);
    m_timerForBatteryStats = nullptr;
}
