#include "input/VizoHotKeyWords.h"

#include <QHash>

namespace VizoHotKeyWords {

namespace {

const QString kMenu = QStringLiteral("Menu");
const QString kViews = QStringLiteral("Near and distance view");
const QString kCamera = QStringLiteral("Camera");
const QString kImage = QStringLiteral("Image mode");
const QString kOcr = QStringLiteral("OCR mode (reading aloud)");
const QString kPreview = QStringLiteral("Full-screen OCR preview");
const QString kAutoScroll = QStringLiteral("Auto-scroll");
const QString kSpeech = QStringLiteral("Speech");

const QHash<QString, Entry> &table()
{
    static const QHash<QString, Entry> t = {
        {QStringLiteral("OpenMenu"), {kMenu, QStringLiteral("open the menu")}},
        {QStringLiteral("CloseMenu"), {kMenu, QStringLiteral("close the menu")}},
        {QStringLiteral("CloseMenu2"), {kMenu, QStringLiteral("close the menu")}},
        {QStringLiteral("NearViewMode"),
         {kViews, QStringLiteral("switch to the near (desk) view")}},
        {QStringLiteral("NearViewMode.MoveToBookmark"),
         {kViews, QStringLiteral("near view: go to the bookmark")}},
        {QStringLiteral("NearViewMode.FocusLock"),
         {kViews, QStringLiteral("near view: lock or free the focus")}},
        {QStringLiteral("DistanceViewMode"),
         {kViews, QStringLiteral("switch to the distance view")}},
        {QStringLiteral("DistanceViewMode.MoveToBookmark"),
         {kViews, QStringLiteral("distance view: go to the bookmark")}},
        {QStringLiteral("CameraMode.OpenColorModeSetting"),
         {kCamera, QStringLiteral("open the colour mode settings")}},
        {QStringLiteral("CameraMode.MoveUp"), {kCamera, QStringLiteral("move the camera up")}},
        {QStringLiteral("CameraMode.MoveDown"), {kCamera, QStringLiteral("move the camera down")}},
        {QStringLiteral("CameraMode.MoveToLeft"),
         {kCamera, QStringLiteral("move the camera left")}},
        {QStringLiteral("CameraMode.MoveToRight"),
         {kCamera, QStringLiteral("move the camera right")}},
        {QStringLiteral("CameraMode.MoveToNextLine"),
         {kCamera, QStringLiteral("go to the start of the next line")}},
        {QStringLiteral("CameraMode.ZoomIn"), {kCamera, QStringLiteral("zoom in")}},
        {QStringLiteral("CameraMode.ZoomOut"), {kCamera, QStringLiteral("zoom out")}},
        {QStringLiteral("CameraMode.FindPosition"),
         {kCamera, QStringLiteral("find the position (show the whole page)")}},
        {QStringLiteral("CameraMode.NextColor"), {kCamera, QStringLiteral("next colour mode")}},
        {QStringLiteral("CameraMode.PrevColor"), {kCamera, QStringLiteral("previous colour mode")}},
        {QStringLiteral("CameraMode.EasyColorChange"),
         {kCamera, QStringLiteral("switch between natural colours and the colour mode")}},
        {QStringLiteral("ContrastUp"), {kCamera, QStringLiteral("more contrast")}},
        {QStringLiteral("ContrastDown"), {kCamera, QStringLiteral("less contrast")}},
        {QStringLiteral("CameraMode.ToOCRMode"),
         {kCamera, QStringLiteral("recognise the page and read it aloud")}},
        {QStringLiteral("CameraMode.ToFullScreenOCRPreviewMode"),
         {kCamera, QStringLiteral("full-screen OCR preview")}},
        {QStringLiteral("CameraMode.ToAutoScrollMode"),
         {kCamera, QStringLiteral("start auto-scroll")}},
        {QStringLiteral("ImageMode.Save"), {kImage, QStringLiteral("save the image")}},
        {QStringLiteral("ImageMode.NextColor"), {kImage, QStringLiteral("next colour mode")}},
        {QStringLiteral("ImageMode.PrevColor"), {kImage, QStringLiteral("previous colour mode")}},
        {QStringLiteral("ImageMode.ZoomIn"), {kImage, QStringLiteral("zoom in")}},
        {QStringLiteral("ImageMode.ZoomOut"), {kImage, QStringLiteral("zoom out")}},
        {QStringLiteral("ImageMode.MoveUp"), {kImage, QStringLiteral("move up")}},
        {QStringLiteral("ImageMode.MoveDown"), {kImage, QStringLiteral("move down")}},
        {QStringLiteral("ImageMode.MoveToLeft"), {kImage, QStringLiteral("move left")}},
        {QStringLiteral("ImageMode.MoveToRight"), {kImage, QStringLiteral("move right")}},
        {QStringLiteral("OCRMode.ToCameraMode"), {kOcr, QStringLiteral("back to the camera")}},
        {QStringLiteral("OCRMode.ToCameraPreviewMode"),
         {kOcr, QStringLiteral("show the camera picture")}},
        {QStringLiteral("OCRMode.Save"), {kOcr, QStringLiteral("save the text")}},
        {QStringLiteral("OCRMode.NextColor"), {kOcr, QStringLiteral("next colour mode")}},
        {QStringLiteral("OCRMode.PrevColor"), {kOcr, QStringLiteral("previous colour mode")}},
        {QStringLiteral("OCRMode.ZoomIn"), {kOcr, QStringLiteral("larger text")}},
        {QStringLiteral("OCRMode.ZoomOut"), {kOcr, QStringLiteral("smaller text")}},
        {QStringLiteral("OCRMode.Play"), {kOcr, QStringLiteral("read aloud")}},
        {QStringLiteral("OCRMode.Pause"), {kOcr, QStringLiteral("pause reading")}},
        {QStringLiteral("OCRMode.GoToNextParagraph"), {kOcr, QStringLiteral("next paragraph")}},
        {QStringLiteral("OCRMode.GoToPrevParagraph"), {kOcr, QStringLiteral("previous paragraph")}},
        {QStringLiteral("OCRMode.GoToNextLine"), {kOcr, QStringLiteral("next line")}},
        {QStringLiteral("OCRMode.GoToPrevLine"), {kOcr, QStringLiteral("previous line")}},
        {QStringLiteral("CameraPreviewMode.ToOCRMode"),
         {kOcr, QStringLiteral("back to the recognised text")}},
        {QStringLiteral("FullScreenOCRPreviewMode.ToCameraMode"),
         {kPreview, QStringLiteral("back to the camera")}},
        {QStringLiteral("FullScreenOCRPreviewMode.ToOCRMode"),
         {kPreview, QStringLiteral("recognise the page and read it aloud")}},
        {QStringLiteral("AutoScrollMode.ToCameraMode"),
         {kAutoScroll, QStringLiteral("stop auto-scroll, back to the camera")}},
        {QStringLiteral("AutoScrollMode.Play"), {kAutoScroll, QStringLiteral("start scrolling")}},
        {QStringLiteral("AutoScrollMode.Pause"), {kAutoScroll, QStringLiteral("pause scrolling")}},
        {QStringLiteral("AutoScrollMode.MoveToNextLine"),
         {kAutoScroll, QStringLiteral("next line")}},
        {QStringLiteral("TTS.SpeedUp"), {kSpeech, QStringLiteral("speak faster")}},
        {QStringLiteral("TTS.SpeedDown"), {kSpeech, QStringLiteral("speak slower")}},
    };
    return t;
}

} // namespace

const QStringList &groups()
{
    static const QStringList g = {kMenu,       kViews,  kCamera,
                                  kImage,      kOcr,    kPreview,
                                  kAutoScroll, kSpeech, QStringLiteral("Other")};
    return g;
}

Entry entry(const QString &action)
{
    const auto it = table().constFind(action);
    if (it != table().constEnd())
        return *it;
    return {QStringLiteral("Other"), action};
}

QString line(const QString &keys, const QString &action)
{
    return keys + QStringLiteral(": ") + entry(action).description;
}

QList<Group> grouped(const QList<QPair<QString, QString>> &actionsAndKeys)
{
    QList<Group> result;
    for (const QString &name : groups()) {
        Group group{name, {}};
        for (const auto &[action, keys] : actionsAndKeys) {
            if (entry(action).group == name)
                group.lines << line(keys, action);
        }
        if (!group.lines.isEmpty())
            result << group;
    }
    return result;
}

} // namespace VizoHotKeyWords
