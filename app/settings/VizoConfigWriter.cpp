#include "settings/VizoConfigWriter.h"

#include "settings/VizoSettings.h"
#include "settings/VizoSettingsLog.h"

QString VizoConfigWriter::colorPair(qint32 textColor, qint32 bgColor)
{
    return QStringLiteral("%1%2")
        .arg(textColor, 2, 10, QLatin1Char('0'))
        .arg(bgColor, 2, 10, QLatin1Char('0'));
}

VizoOptionFileData VizoConfigWriter::optionFileData(const VizoSettings &s)
{
    const VizoOptions *o = s.options();
    const VizoOCR *c = s.ocr();
    auto num = [](qint64 v) { return QString::number(v); };
    VizoOptionFileData d;
    d.insert(QStringLiteral("CameraMode"), num(s.cameraMode()));
    for (int i = 1; i < VizoColorMode::kSlotCount; ++i) {
        const VizoColorSlot *far = o->colorModeForDistance()->slot(i);
        const VizoColorSlot *near = o->colorModeForNear()->slot(i);
        d.insert(QStringLiteral("Distance_SelectColor%1").arg(i),
                 colorPair(far->textColor(), far->bgColor()));
        d.insert(QStringLiteral("Near_SelectColor%1").arg(i),
                 colorPair(near->textColor(), near->bgColor()));
    }
    d.insert(QStringLiteral("Distance_CurrentSelectColor"),
             num(s.selectedColorSlotForDistanceViewMode()));
    d.insert(QStringLiteral("Near_CurrentSelectColor"), num(s.selectedColorSlotForNearViewMode()));
    d.insert(QStringLiteral("Distance_Contrast"), num(o->contrastForDistance()));
    d.insert(QStringLiteral("Near_Contrast"), num(o->contrastForNear()));
    d.insert(QStringLiteral("Distance_MarkerMode"), num(o->markerModeForDistance()));
    d.insert(QStringLiteral("Near_MarkerMode"), num(o->markerModeForNear()));
    d.insert(QStringLiteral("FocusLock"), num(o->focusLock() ? 1 : 0));
    d.insert(QStringLiteral("VoiceGuide"), num(o->voiceGuide() ? 1 : 0));
    d.insert(QStringLiteral("AutoScrollDirection"), num(o->autoscrollDirection()));
    d.insert(QStringLiteral("AutoScrollSpeed"), num(o->autoscrollSpeed()));
    d.insert(QStringLiteral("AutoScrollA4"), num(o->autoscrollRange()));
    if (const VizoLanguage *language =
            s.vizoRegion() ? s.vizoRegion()->getCurrentLanguage() : nullptr)
        d.insert(QStringLiteral("Language"), num(language->code()));
    d.insert(QStringLiteral("JoyStickSpeed"), num(o->joystickSensitivity()));
    d.insert(QStringLiteral("WiFiPassword"), o->passwords());
    d.insert(QStringLiteral("WiFiResolution"), num(o->wifiResolution()));
    d.insert(QStringLiteral("OCRFieldMode"), num(c->fieldMode()));
    d.insert(QStringLiteral("OCRViewMode"), num(c->viewMode()));
    d.insert(QStringLiteral("OCRDeskew"), num(c->deskew()));
    d.insert(QStringLiteral("OCRPerspective"), num(c->perspective()));
    d.insert(QStringLiteral("TTSType"), num(c->typeOfTTS()));
    d.insert(QStringLiteral("TTSSpeed"), num(c->speedOfTTS()));
    d.insert(QStringLiteral("TTSVolume"), num(c->volumeOfTTS()));
    d.insert(QStringLiteral("TTSPitch"), num(c->pitchOfTTS()));
    d.insert(QStringLiteral("OCRLanguage"), num(c->language()));
    d.insert(QStringLiteral("Info_SW"), o->info_sw());
    d.insert(QStringLiteral("Info_SN"), o->info_sn());
    d.insert(QStringLiteral("Info_Battery"), o->info_battery());
    d.insert(QStringLiteral("Info_AP"), o->info_ap());
    return d;
}

QByteArray VizoConfigWriter::write(const VizoOptionFileData &pairs)
{
    QByteArray out;
    for (auto it = pairs.cbegin(); it != pairs.cend(); ++it) {
        if (it.key().contains(QLatin1String("</key>")) ||
            it.value().contains(QLatin1String("</value>"))) {
            qCWarning(lcVizoSettings) << "option file: cannot write the pair" << it.key();
            continue;
        }
        out += "<key>" + it.key().toUtf8() + "</key><value>" + it.value().toUtf8() + "</value>\n";
    }
    return out;
}

QByteArray VizoConfigWriter::write(const VizoSettings &settings)
{
    return write(optionFileData(settings));
}
