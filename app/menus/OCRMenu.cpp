#include "OCRMenu.h"

#include "kit/AppContext.h"
#include "protocol/VizoCommands.h"
#include "settings/VizoSettings.h"

#include <trellis/TrellisItemCheckBox.h>
#include <trellis/TrellisItemRadioGroup.h>
#include <trellis/TrellisItemSlider.h>

namespace {

const char *const kViewModeKeys[4] = {
    "OCR.ViewMode.Image",
    "OCR.ViewMode.FullText",
    "OCR.ViewMode.Line",
    "OCR.ViewMode.Word",
};

bool isOCRMode(int vizoMode)
{
    return vizoMode == 1 || vizoMode == 3;
}

// The OCR language the interface language brings along; 0 without one.
quint32 uiLanguageOCRBit(const VizoRegion *region)
{
    const VizoLanguage *current = region ? region->getCurrentLanguage() : nullptr;
    return current ? current->ocrBitMask() : 0;
}

} // namespace

VizoOCR *OCRMenu::ocr() const
{
    return settings()->ocr();
}

OCRMenu::OCRMenu(VizoMenuController *owner) : VizoMenuTree(owner) {}

OCRMenu::~OCRMenu() = default;

std::shared_ptr<TrellisItemRadioGroup>
OCRMenu::makeRadio(const char *key, std::function<void(int)> choose, int value)
{
    auto radio = item<TrellisItemRadioGroup>(key);
    radio->eventValueChanged = [self = QPointer(this), choose = std::move(choose),
                                value](TrellisItem *, const QVariant &on) {
        if (self && on.toBool())
            choose(value);
    };
    return radio;
}

std::shared_ptr<TrellisItemSlider> OCRMenu::makeSpeechSlider(const char *key, int maxValue,
                                                             SpeechSetting setting)
{
    auto slider = item<TrellisItemSlider>(key);
    slider->setMinValue(0);
    slider->setMaxValue(maxValue);
    slider->setEnableRollback(true);
    slider->eventBeginEdit = [](TrellisItem *it) {
        if (auto *s = qobject_cast<TrellisItemSlider *>(it))
            it->setValueForRollback(s->valueOfSlider());
    };
    std::weak_ptr<TrellisItemSlider> weakSlider = slider;
    slider->eventValueChanged = [self = QPointer(this), setting,
                                 weakSlider](TrellisItem *it, const QVariant &value) {
        if (!self)
            return;
        if (it->editState() == 1) {
            const int v = value.toInt();
            if (setting.get() != v) {
                setting.set(v);
                self->context().writeVizoPacket(setting.command(v));
            }
            return;
        }
        // Not being edited: the value goes back to the setting.
        QMetaObject::invokeMethod(
            self.data(),
            [setting, weakSlider] {
                if (auto s = weakSlider.lock())
                    s->setValueOfSlider(setting.get());
            },
            Qt::QueuedConnection);
    };
    slider->eventCancelEdit = [self = QPointer(this), setting](TrellisItem *it, const QVariant &saved) {
        auto *s = qobject_cast<TrellisItemSlider *>(it);
        if (!self || !s || !saved.isValid())
            return;
        const int v = saved.toInt();
        s->setValueOfSlider(v);
        setting.set(v);
        self->context().writeVizoPacket(setting.command(v));
    };
    return slider;
}

void OCRMenu::makeMenu()
{
    clearItems();
    const bool summit = settings()->vizoVersion() == VizoSettings::Summit;

    menuItemOCR_FieldMode = item("OCR.FieldMode");
    auto fieldMode = weakly(&OCRMenu::onFieldModeChosen);
    menuItemOCR_FieldMode_Zoom = makeRadio("OCR.FieldMode.Zoom", fieldMode, 0);
    menuItemOCR_FieldMode_FullScreen = makeRadio("OCR.FieldMode.FullScreen", fieldMode, 1);
    menuItemOCR_FieldMode->setSubMenu(
        menuOf({menuItemOCR_FieldMode_Zoom, menuItemOCR_FieldMode_FullScreen, exitItem()}));

    menuItemOCR_ViewMode = item("OCR.ViewMode");
    QList<TrellisItemPtr> viewModes;
    for (int mode = 0; mode < 4; ++mode) {
        menuItemOCR_ViewMode_Mode[std::size_t(mode)] =
            makeRadio(kViewModeKeys[mode], weakly(&OCRMenu::onViewModeChosen), mode);
        viewModes << menuItemOCR_ViewMode_Mode[std::size_t(mode)];
    }
    viewModes << exitItem();
    menuItemOCR_ViewMode->setSubMenu(menuOf(viewModes));

    menuItemOCR_VoiceSettings = item("OCR.VoiceSettings");
    menuItemOCR_VoiceSettings_TTSVolume = makeSpeechSlider(
        "OCR.VoiceSettings.TTSVolume", 15,
        {[this] { return ocr()->volumeOfTTS(); }, [this](int v) { ocr()->setVolumeOfTTS(v); },
         [](int v) { return QByteArray(VizoCmd::SetTtsVolume(std::uint8_t(v)).payload()); }});
    menuItemOCR_VoiceSettings_TTSSpeed = makeSpeechSlider(
        "OCR.VoiceSettings.TTSSpeed", 13,
        {[this] { return ocr()->speedOfTTS(); }, [this](int v) { ocr()->setSpeedOfTTS(v); },
         [](int v) { return QByteArray(VizoCmd::SetTtsSpeed(std::uint8_t(v)).payload()); }});
    menuItemOCR_VoiceSettings_TTSPitch = makeSpeechSlider(
        "OCR.VoiceSettings.TTSPitch", 14,
        {[this] { return ocr()->pitchOfTTS(); }, [this](int v) { ocr()->setPitchOfTTS(v); },
         [](int v) { return QByteArray(VizoCmd::SetTtsPitch(std::uint8_t(v)).payload()); }});
    menuItemOCR_VoiceSettings_TTSVoice = item("OCR.VoiceSettings.TTSVoice");
    auto voice = weakly(&OCRMenu::onVoiceChosen);
    menuItemOCR_VoiceSettings_TTSVoice_Male =
        makeRadio("OCR.VoiceSettings.TTSVoice.Male", voice, 0);
    menuItemOCR_VoiceSettings_TTSVoice_Female =
        makeRadio("OCR.VoiceSettings.TTSVoice.Female", voice, 1);
    menuItemOCR_VoiceSettings_TTSVoice->setSubMenu(
        menuOf({menuItemOCR_VoiceSettings_TTSVoice_Male, menuItemOCR_VoiceSettings_TTSVoice_Female,
                exitItem()}));
    menuItemOCR_VoiceSettings->setSubMenu(menuOf(
        {menuItemOCR_VoiceSettings_TTSVolume, menuItemOCR_VoiceSettings_TTSSpeed,
         menuItemOCR_VoiceSettings_TTSPitch, menuItemOCR_VoiceSettings_TTSVoice, exitItem()}));

    menuItemOCR_Correction = item("OCR.Correction");
    menuItemOCR_Correction_Deskew = item<TrellisItemCheckBox>("OCR.ScreenCorrection.Deskew");
    menuItemOCR_Correction_Deskew->eventValueChanged = [self = QPointer(this)](TrellisItem *, const QVariant &value) {
        if (!self)
            return;
        self->ocr()->setDeskew(value.toBool() ? 1 : 0);
        self->context().writeVizoPacket(VizoCmd::SetOcrDeskew(value.toBool() ? 1 : 0).payload());
    };
    menuItemOCR_Correction_Perspective.reset();
    if (summit) {
        menuItemOCR_Correction_Perspective =
            item<TrellisItemCheckBox>("OCR.ScreenCorrection.PerspectiveCorrection");
        menuItemOCR_Correction_Perspective->eventValueChanged = [self = QPointer(this)](TrellisItem *,
                                                                   const QVariant &value) {
            if (!self)
                return;
            self->ocr()->setPerspective(value.toBool() ? 1 : 0);
            self->context().writeVizoPacket(VizoCmd::SetOcrPerspective(value.toBool() ? 1 : 0).payload());
        };
    }
    menuItemOCR_Correction->setSubMenu(
        menuOf({menuItemOCR_Correction_Deskew, menuItemOCR_Correction_Perspective, exitItem()}));

    makeOCRLanguages();

    menuItemOCR_Exit = item("Exit");
    menuItemOCR_Exit->eventItemClicked = [app = &context()](TrellisItem *) { app->closeMenu(); };
}

void OCRMenu::makeOCRLanguages()
{
    menuItemOCR_Language = item("OCR.Language");
    menuItemOCR_ArrayOfOCRLanguage.clear();
    QList<TrellisItemPtr> list;
    if (const VizoRegion *region = settings()->vizoRegion()) {
        for (const VizoOCRLanguage &language : region->ocrLanguages()) {
            auto box = unlabelledItem<TrellisItemCheckBox>();
            box->setUserData(language.bitMask());
            box->eventValueChanged = weakly(&OCRMenu::onOCRLanguageChanged);
            menuItemOCR_ArrayOfOCRLanguage << box;
            list << box;
        }
    }
    list << exitItem();
    menuItemOCR_Language->setSubMenu(menuOf(list));
}

TrellisMenuPtr OCRMenu::buildMenuTree()
{
    const VizoSettings *s = settings();
    const int edition = s->vizoVersion();
    if (edition != VizoSettings::Summit && edition != VizoSettings::Ridge)
        return menuOf({});
    QList<TrellisItemPtr> root;
    if (edition == VizoSettings::Summit)
        root << menuItemOCR_FieldMode;
    root << menuItemOCR_ViewMode << menuItemOCR_VoiceSettings << menuItemOCR_Correction;
    // While OCR runs, its languages are fixed.
    if (!isOCRMode(s->vizoMode()))
        root << menuItemOCR_Language;
    root << menuItemOCR_Exit;
    return menuOf(root);
}

void OCRMenu::reloadSettings()
{
    if (!menuItemOCR_FieldMode)
        return;
    const VizoOCR *o = ocr();
    if (o->fieldMode() == 0)
        menuItemOCR_FieldMode_Zoom->exclusiveSelect();
    else if (o->fieldMode() == 1)
        menuItemOCR_FieldMode_FullScreen->exclusiveSelect();
    if (o->viewMode() >= 0 && o->viewMode() < 4)
        menuItemOCR_ViewMode_Mode[std::size_t(o->viewMode())]->exclusiveSelect();
    menuItemOCR_Correction_Deskew->setValueOfCheckBox(o->deskew() != 0);
    if (menuItemOCR_Correction_Perspective)
        menuItemOCR_Correction_Perspective->setValueOfCheckBox(o->perspective() != 0);
    if (o->typeOfTTS() == 0)
        menuItemOCR_VoiceSettings_TTSVoice_Male->exclusiveSelect();
    else if (o->typeOfTTS() == 1)
        menuItemOCR_VoiceSettings_TTSVoice_Female->exclusiveSelect();
    menuItemOCR_VoiceSettings_TTSSpeed->setValueOfSlider(o->speedOfTTS());
    menuItemOCR_VoiceSettings_TTSVolume->setValueOfSlider(o->volumeOfTTS());
    menuItemOCR_VoiceSettings_TTSPitch->setValueOfSlider(o->pitchOfTTS());
    for (const auto &box : std::as_const(menuItemOCR_ArrayOfOCRLanguage))
        box->setValueOfCheckBox((o->language() & box->userData().toUInt()) != 0);
}

void OCRMenu::reloadMenuLabel()
{
    if (!menuItemOCR_FieldMode)
        return;
    VizoMenuTree::reloadMenuLabel();
    const VizoRegion *region = settings()->vizoRegion();
    if (!region)
        return;
    const QList<VizoOCRLanguage> &languages = region->ocrLanguages();
    for (qsizetype i = 0; i < menuItemOCR_ArrayOfOCRLanguage.size() && i < languages.size(); ++i) {
        const QString name = region->getOCRLanguageDisplayName(languages.at(i));
        menuItemOCR_ArrayOfOCRLanguage.at(i)->setLabelText(name.isEmpty() ? languages.at(i).name()
                                                                          : name);
    }
}

void OCRMenu::setTtsVolumeValue(int value)
{
    if (menuItemOCR_VoiceSettings_TTSVolume)
        menuItemOCR_VoiceSettings_TTSVolume->setValueOfSlider(value);
}

void OCRMenu::onFieldModeChosen(int mode)
{
    if (ocr()->fieldMode() == mode)
        return;
    ocr()->setFieldMode(mode);
    context().writeVizoPacket(VizoCmd::SetOcrFieldMode(std::uint8_t(mode)).payload());
    // The keys and gestures that start OCR depend on the field mode.
    context().updateHotKeys();
    context().updateMouseGestures();
}

void OCRMenu::onViewModeChosen(int mode)
{
    if (ocr()->viewMode() == mode)
        return;
    ocr()->setViewMode(mode);
    context().writeVizoPacket(VizoCmd::SetOcrViewMode(std::uint8_t(mode)).payload());
}

void OCRMenu::onVoiceChosen(int type)
{
    if (ocr()->typeOfTTS() == type)
        return;
    ocr()->setTypeOfTTS(type);
    context().writeVizoPacket(VizoCmd::SetTtsType(std::uint8_t(type)).payload());
}

void OCRMenu::onOCRLanguageChanged(TrellisItem *item, const QVariant &value)
{
    const VizoRegion *region = settings()->vizoRegion();
    auto *box = qobject_cast<TrellisItemCheckBox *>(item);
    if (!region || !box)
        return;
    const quint32 bit = item->userData().toUInt();
    const quint32 own = uiLanguageOCRBit(region);
    quint32 mask = ocr()->language();
    if (value.toBool()) {
        // At most two: the interface language's own and the one just chosen.
        for (const auto &other : std::as_const(menuItemOCR_ArrayOfOCRLanguage)) {
            const quint32 otherBit = other->userData().toUInt();
            if (otherBit == own)
                continue;
            mask &= ~otherBit;
            other->setValueOfCheckBox(false);
        }
        box->setValueOfCheckBox(true);
        mask |= bit;
    } else {
        if (bit == own) {
            // The interface language's own OCR language stays.
            box->setValueOfCheckBox(true);
            return;
        }
        mask &= ~bit;
    }
    ocr()->setLanguage(mask);
    context().writeVizoPacket(VizoCmd::SetOcrLanguages(mask).payload());
}
