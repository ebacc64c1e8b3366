#include "settings/VizoSettings.h"

#include "settings/VizoResources.h"
#include "settings/VizoSettingsLog.h"

#include <QHash>

namespace {

// The slot table after the Option reset: text colour, background colour.
constexpr qint32 kDefaultSlots[VizoColorMode::kSlotCount][2] = {
    {1, 1},   // natural colours
    {3, 2},   // white on black
    {2, 3},   // black on white
    {10, 10}, // grey scale
    {9, 2},   // yellow on black
    {9, 6},   // yellow on blue
    {5, 2},   // green on black
    {0, 0},   // disabled
};

using Setter = void (*)(VizoSettings &, const QString &);

// Keys whose value is one integer, boolean or text stored into one field.
const QHash<QString, Setter> &simpleKeys()
{
    using P = VizoConfigParser;
    static const QHash<QString, Setter> table = {
        {QStringLiteral("CameraMode"),
         [](VizoSettings &s, const QString &v) { s.setCameraMode(P::readInteger(v)); }},
        {QStringLiteral("Distance_CurrentSelectColor"),
         [](VizoSettings &s, const QString &v) {
             s.setSelectedColorSlotForDistanceViewMode(P::readInteger(v));
             s.setOldSelectedColorSlotForDistanceViewMode(P::readInteger(v));
         }},
        {QStringLiteral("Near_CurrentSelectColor"),
         [](VizoSettings &s, const QString &v) {
             s.setSelectedColorSlotForNearViewMode(P::readInteger(v));
             s.setOldSelectedColorSlotForNearViewMode(P::readInteger(v));
         }},
        {QStringLiteral("Distance_Contrast"),
         [](VizoSettings &s, const QString &v) {
             s.options()->setContrastForDistance(P::readInteger(v));
         }},
        {QStringLiteral("Near_Contrast"),
         [](VizoSettings &s, const QString &v) {
             s.options()->setContrastForNear(P::readInteger(v));
         }},
        {QStringLiteral("Distance_MarkerMode"),
         [](VizoSettings &s, const QString &v) {
             s.options()->setMarkerModeForDistance(P::readInteger(v));
         }},
        {QStringLiteral("Near_MarkerMode"),
         [](VizoSettings &s, const QString &v) {
             s.options()->setMarkerModeForNear(P::readInteger(v));
         }},
        {QStringLiteral("FocusLock"),
         [](VizoSettings &s, const QString &v) { s.options()->setFocusLock(P::readBoolean(v)); }},
        {QStringLiteral("VoiceGuide"),
         [](VizoSettings &s, const QString &v) { s.options()->setVoiceGuide(P::readBoolean(v)); }},
        {QStringLiteral("AutoScrollDirection"),
         [](VizoSettings &s, const QString &v) {
             s.options()->setAutoscrollDirection(P::readInteger(v));
         }},
        {QStringLiteral("AutoScrollSpeed"),
         [](VizoSettings &s, const QString &v) {
             s.options()->setAutoscrollSpeed(P::readInteger(v));
         }},
        {QStringLiteral("AutoScrollA4"),
         [](VizoSettings &s, const QString &v) {
             s.options()->setAutoscrollRange(P::readInteger(v));
         }},
        {QStringLiteral("Language"),
         [](VizoSettings &s, const QString &v) {
             if (s.vizoRegion())
                 s.vizoRegion()->setCurrentLanguageWithCode(P::readInteger(v));
         }},
        {QStringLiteral("JoyStickSpeed"),
         [](VizoSettings &s, const QString &v) {
             s.options()->setJoystickSensitivity(P::readInteger(v));
         }},
        {QStringLiteral("WiFiPassword"),
         [](VizoSettings &s, const QString &v) { s.options()->setPasswords(v); }},
        {QStringLiteral("WiFiResolution"),
         [](VizoSettings &s, const QString &v) {
             s.options()->setWifiResolution(P::readInteger(v));
         }},
        {QStringLiteral("OCRFieldMode"),
         [](VizoSettings &s, const QString &v) { s.ocr()->setFieldMode(P::readInteger(v)); }},
        {QStringLiteral("OCRViewMode"),
         [](VizoSettings &s, const QString &v) { s.ocr()->setViewMode(P::readInteger(v)); }},
        {QStringLiteral("OCRDeskew"),
         [](VizoSettings &s, const QString &v) { s.ocr()->setDeskew(P::readInteger(v)); }},
        {QStringLiteral("OCRPerspective"),
         [](VizoSettings &s, const QString &v) { s.ocr()->setPerspective(P::readInteger(v)); }},
        {QStringLiteral("TTSType"),
         [](VizoSettings &s, const QString &v) { s.ocr()->setTypeOfTTS(P::readInteger(v)); }},
        {QStringLiteral("TTSSpeed"),
         [](VizoSettings &s, const QString &v) { s.ocr()->setSpeedOfTTS(P::readInteger(v)); }},
        {QStringLiteral("TTSVolume"),
         [](VizoSettings &s, const QString &v) { s.ocr()->setVolumeOfTTS(P::readInteger(v)); }},
        {QStringLiteral("TTSPitch"),
         [](VizoSettings &s, const QString &v) { s.ocr()->setPitchOfTTS(P::readInteger(v)); }},
        {QStringLiteral("OCRLanguage"),
         [](VizoSettings &s, const QString &v) {
             s.ocr()->setLanguage(quint32(P::readInteger(v)));
         }},
        {QStringLiteral("Info_SW"),
         [](VizoSettings &s, const QString &v) { s.options()->setInfo_sw(v); }},
        {QStringLiteral("Info_SN"),
         [](VizoSettings &s, const QString &v) { s.options()->setInfo_sn(v); }},
        {QStringLiteral("Info_Battery"),
         [](VizoSettings &s, const QString &v) { s.options()->setInfo_battery(v); }},
        {QStringLiteral("Info_AP"),
         [](VizoSettings &s, const QString &v) { s.options()->setInfo_ap(v); }},
    };
    return table;
}

// "Distance_SelectColor1".."7" and "Near_SelectColor1".."7": the slot index,
// or -1 for any other key.
int colorSlotKey(const QString &key, const QString &prefix)
{
    if (key.size() != prefix.size() + 1 || !key.startsWith(prefix))
        return -1;
    const QChar digit = key.back();
    return digit >= u'1' && digit <= u'7' ? digit.unicode() - u'0' : -1;
}

} // namespace

VizoSettings::VizoSettings(QObject *parent)
    : QObject(parent), m_options(new VizoOptions(this, this)), m_ocr(new VizoOCR(this))
{
    connect(m_options, &VizoOptions::changed, this, &VizoSettings::changed);
    connect(m_ocr, &VizoOCR::changed, this, &VizoSettings::changed);
    m_vizoRegion = std::make_unique<VizoRegion>(-1);
    reset();
}

VizoSettings::~VizoSettings() = default;

void VizoSettings::reset()
{
    resetOption();
    resetOCR();
}

void VizoSettings::resetOption()
{
    for (VizoColorMode *mode : {m_options->colorModeForDistance(), m_options->colorModeForNear()}) {
        for (int i = 0; i < VizoColorMode::kSlotCount; ++i) {
            mode->slot(i)->setTextColor(kDefaultSlots[i][0]);
            mode->slot(i)->setBgColor(kDefaultSlots[i][1]);
        }
    }
    m_options->setContrastForDistance(19);
    m_options->setContrastForNear(19);
    m_options->setMarkerModeForDistance(VizoOptions::NoMarker);
    m_options->setMarkerModeForNear(VizoOptions::NoMarker);
    m_options->setFocusLock(false);
    m_options->setAutoscrollDirection(0);
    m_options->setAutoscrollSpeed(3);
    m_options->setAutoscrollRange(1);
    m_options->setVoiceGuide(true);
    m_options->setJoystickSensitivity(0);
    m_options->setPasswords(QString::fromLatin1(VizoOptions::kDefaultPassword));
    m_options->setWifiResolution(1);
    if (m_vizoRegion)
        m_vizoRegion->setCurrentLanguageWithCode(1);
    m_ocr->setLanguage(2);
    reloadLanguageStrings();
}

void VizoSettings::resetOCR()
{
    m_ocr->setFieldMode(0);
    m_ocr->setViewMode(0);
    m_ocr->setVolumeOfTTS(7);
    m_ocr->setSpeedOfTTS(2);
    m_ocr->setPitchOfTTS(5);
    m_ocr->setTypeOfTTS(0);
    m_ocr->setDeskew(0);
    m_ocr->setPerspective(0);
}

int VizoSettings::stepColor(VizoColorMode *mode, qint32 &selected, qint32 &oldSelected,
                            int direction)
{
    const int n = VizoColorMode::kSlotCount;
    // Slot 0 always holds natural colours, so the walk ends; the bound keeps
    // a model whose every slot was disabled from spinning.
    int i = ((selected % n) + n) % n;
    for (int tries = 0; tries < n; ++tries) {
        i = (i + direction + n) % n;
        if (!mode->slot(i)->isDisabled())
            break;
    }
    const qint32 previous = selected;
    if (oldSelected != previous || selected != i) {
        oldSelected = previous;
        selected = i;
        emit changed();
    }
    return i;
}

int VizoSettings::calcNextColorForDistanceViewMode()
{
    return stepColor(m_options->colorModeForDistance(), m_selectedColorSlotForDistanceViewMode,
                     m_oldSelectedColorSlotForDistanceViewMode, +1);
}

int VizoSettings::calcPrevColorForDistanceViewMode()
{
    return stepColor(m_options->colorModeForDistance(), m_selectedColorSlotForDistanceViewMode,
                     m_oldSelectedColorSlotForDistanceViewMode, -1);
}

int VizoSettings::calcNextColorForNearViewMode()
{
    return stepColor(m_options->colorModeForNear(), m_selectedColorSlotForNearViewMode,
                     m_oldSelectedColorSlotForNearViewMode, +1);
}

int VizoSettings::calcPrevColorForNearViewMode()
{
    return stepColor(m_options->colorModeForNear(), m_selectedColorSlotForNearViewMode,
                     m_oldSelectedColorSlotForNearViewMode, -1);
}

int VizoSettings::calcNextColor()
{
    return m_cameraMode == 0 ? calcNextColorForDistanceViewMode() : calcNextColorForNearViewMode();
}

int VizoSettings::calcPrevColor()
{
    return m_cameraMode == 0 ? calcPrevColorForDistanceViewMode() : calcPrevColorForNearViewMode();
}

void VizoSettings::parseColor(const QString &text, VizoColorSlot *slot)
{
    if (!slot)
        return;
    const auto pair = VizoConfigParser::readColorPair(text);
    if (!pair)
        return; // the device always sends four digits; keep the slot as it is
    slot->setTextColor(pair->textColor);
    slot->setBgColor(pair->bgColor);
}

void VizoSettings::applyOptionFileData(const VizoOptionFileData &data)
{
    for (auto it = data.cbegin(); it != data.cend(); ++it)
        applyOptionPair(it.key(), it.value());
    reloadLanguageStrings();
}

void VizoSettings::applyOptionPair(const QString &key, const QString &value)
{
    static const QString distance = QStringLiteral("Distance_SelectColor");
    static const QString nearView = QStringLiteral("Near_SelectColor");
    if (int slot = colorSlotKey(key, distance); slot > 0) {
        parseColor(value, m_options->colorModeForDistance()->slot(slot));
        return;
    }
    if (int slot = colorSlotKey(key, nearView); slot > 0) {
        parseColor(value, m_options->colorModeForNear()->slot(slot));
        return;
    }
    const auto &table = simpleKeys();
    auto it = table.constFind(key);
    if (it != table.constEnd())
        it.value()(*this, value);
    else
        qCDebug(lcVizoSettings) << "option file: unknown key" << key;
}

void VizoSettings::reloadLanguageStrings()
{
    QVariantMap strings;
    const VizoLanguage *current = m_vizoRegion ? m_vizoRegion->getCurrentLanguage() : nullptr;
    // English underneath: a partial table still shows every text.
    const QVariantMap english = VizoResources::propertyList(QStringLiteral("English"));
    strings = english;
    if (current) {
        const QVariantMap &own = current->languageData();
        for (auto section = own.cbegin(); section != own.cend(); ++section) {
            QVariantMap merged = strings.value(section.key()).toMap();
            const QVariantMap texts = section.value().toMap();
            for (auto t = texts.cbegin(); t != texts.cend(); ++t)
                merged.insert(t.key(), t.value());
            strings.insert(section.key(), merged);
        }
    }
    if (strings == m_languageStrings)
        return;
    m_languageStrings = strings;
    emit languageStringsChanged();
    emit changed();
}

QString VizoSettings::text(const QString &section, const QString &key) const
{
    return m_languageStrings.value(section).toMap().value(key).toString();
}

void VizoSettings::setVizoRegion(std::unique_ptr<VizoRegion> region)
{
    if (!region)
        return;
    m_vizoRegion = std::move(region);
    emit vizoRegionChanged();
    emit changed();
}

void VizoSettings::applyFileList(VizoFileKind kind, const QStringList &names)
{
    const bool deleteMode = m_deleteModeQuery ? m_deleteModeQuery(kind) : false;
    QList<FileListItem> items;
    items.reserve(names.size());
    for (const QString &name : names)
        if (name.size() >= 2)
            items.append(FileListItem::make(kind, name, deleteMode));
    fileItemArray(kind) = std::move(items);
    if (kind == VizoFileKind::Image)
        emit imageFileItemArrayChanged();
    else
        emit ocrFileItemArrayChanged();
    emit changed();
}

void VizoSettings::applyImageFileList(const QStringList &names)
{
    applyFileList(VizoFileKind::Image, names);
}

void VizoSettings::applyOCRFileList(const QStringList &names)
{
    applyFileList(VizoFileKind::OCR, names);
}
