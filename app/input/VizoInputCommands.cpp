#include "input/VizoInputCommands.h"

#include "protocol/VizoCommands.h"

namespace VizoInputCommands {

using namespace VizoCmd;
using u8 = std::uint8_t;

QByteArray cameraZoom(int action)
{
    return CameraZoom(u8(action)).payload();
}
QByteArray cameraMove(int direction)
{
    return CameraMove(u8(direction)).payload();
}
QByteArray cameraMoveSpeed(int level)
{
    return CameraMoveSpeed(u8(level)).payload();
}
QByteArray cameraColor(int step)
{
    return CameraColor(u8(step)).payload();
}
QByteArray selectView(int view)
{
    return SelectView(u8(view)).payload();
}
QByteArray findPositionStart()
{
    return FindPositionStart().payload();
}
QByteArray findPositionEnd()
{
    return FindPositionEnd().payload();
}
QByteArray easyColorChange(int back)
{
    return EasyColorChange(u8(back)).payload();
}
QByteArray nextLine()
{
    return NextLine().payload();
}
QByteArray setFocusLock(bool on)
{
    return SetFocusLock(on ? 1 : 0).payload();
}
QByteArray setContrast(int target, int value)
{
    return SetContrast(u8(target), std::uint16_t(value)).payload();
}
QByteArray markerAdjust(int action)
{
    return MarkerAdjust(u8(action)).payload();
}
QByteArray autoScrollExit()
{
    return AutoScrollExit().payload();
}
QByteArray autoScrollEnter()
{
    return AutoScrollEnter().payload();
}
QByteArray autoScrollPlay()
{
    return AutoScrollPlay().payload();
}
QByteArray autoScrollPause()
{
    return AutoScrollPause().payload();
}
QByteArray autoScrollNextLine()
{
    return AutoScrollNextLine().payload();
}
QByteArray setTtsSpeed(int speed)
{
    return SetTtsSpeed(u8(speed)).payload();
}
QByteArray imageSave()
{
    return ImageSave().payload();
}
QByteArray imageColor(int step)
{
    return ImageColor(u8(step)).payload();
}
QByteArray imageZoom(int action)
{
    return ImageZoom(u8(action)).payload();
}
QByteArray imageMove(int direction)
{
    return ImageMove(u8(direction)).payload();
}
QByteArray imageContrast(int step)
{
    return ImageContrast(u8(step)).payload();
}
QByteArray ocrStart()
{
    return OcrStart().payload();
}
QByteArray ocrPlay()
{
    return OcrPlay().payload();
}
QByteArray ocrPause()
{
    return OcrPause().payload();
}
QByteArray ocrPrevLine()
{
    return OcrPrevLine().payload();
}
QByteArray ocrNextLine()
{
    return OcrNextLine().payload();
}
QByteArray ocrPrevParagraph()
{
    return OcrPrevParagraph().payload();
}
QByteArray ocrNextParagraph()
{
    return OcrNextParagraph().payload();
}
QByteArray ocrSave()
{
    return OcrSave().payload();
}
QByteArray ocrExit()
{
    return OcrExit().payload();
}
QByteArray ocrZoom(int action)
{
    return OcrZoom(u8(action)).payload();
}
QByteArray ocrColor(int step)
{
    return OcrColor(u8(step)).payload();
}
QByteArray ocrContrast(int step)
{
    return OcrContrast(u8(step)).payload();
}
QByteArray ocrCameraPreview()
{
    return OcrCameraPreview().payload();
}

} // namespace VizoInputCommands
