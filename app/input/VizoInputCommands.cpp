#include "input/VizoInputCommands.h"

#include <initializer_list>

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    out.reserve(int(values.size()));
    for (int v : values)
        out.append(char(uint8_t(v)));
    return out;
}

} // namespace

namespace VizoInputCommands {

QByteArray cameraZoom(int action) { return bytes({0x20, 0x00, action}); }
QByteArray cameraMove(int direction) { return bytes({0x20, 0x03, direction}); }
QByteArray cameraMoveSpeed(int level) { return bytes({0x20, 0x03, 0x0B, level}); }
QByteArray cameraColor(int step) { return bytes({0x20, 0x04, step}); }
QByteArray selectView(int view) { return bytes({0x20, 0x01, view}); }
QByteArray findPositionStart() { return bytes({0x20, 0x09}); }
QByteArray findPositionEnd() { return bytes({0x20, 0x0A}); }
QByteArray easyColorChange(int back) { return bytes({0x20, 0x0B, back}); }
QByteArray nextLine() { return bytes({0x20, 0x0C}); }
QByteArray setFocusLock(bool on) { return bytes({0x08, 0x00, on ? 1 : 0}); }
QByteArray setContrast(int target, int value)
{
    return bytes({0x06, target, value & 0xFF, (value >> 8) & 0xFF});
}
QByteArray markerAdjust(int action) { return bytes({0x07, 0x03, action}); }
QByteArray autoScrollExit() { return bytes({0x08, 0x05, 0x00}); }
QByteArray autoScrollEnter() { return bytes({0x08, 0x05, 0x01}); }
QByteArray autoScrollPlay() { return bytes({0x08, 0x05, 0x02}); }
QByteArray autoScrollPause() { return bytes({0x08, 0x05, 0x03}); }
QByteArray autoScrollNextLine() { return bytes({0x08, 0x05, 0x0B}); }
QByteArray setTtsSpeed(int speed) { return bytes({0x0A, 0x03, speed}); }
QByteArray imageSave() { return bytes({0x21, 0x00}); }
QByteArray imageColor(int step) { return bytes({0x21, 0x04, step}); }
QByteArray imageZoom(int action) { return bytes({0x21, 0x05, action}); }
QByteArray imageMove(int direction) { return bytes({0x21, 0x06, direction}); }
QByteArray imageContrast(int step) { return bytes({0x21, 0x07, step}); }
QByteArray ocrStart() { return bytes({0x23, 0x00}); }
QByteArray ocrPlay() { return bytes({0x23, 0x02}); }
QByteArray ocrPause() { return bytes({0x23, 0x03}); }
QByteArray ocrPrevLine() { return bytes({0x23, 0x04}); }
QByteArray ocrNextLine() { return bytes({0x23, 0x05}); }
QByteArray ocrPrevParagraph() { return bytes({0x23, 0x06}); }
QByteArray ocrNextParagraph() { return bytes({0x23, 0x07}); }
QByteArray ocrSave() { return bytes({0x23, 0x08}); }
QByteArray ocrExit() { return bytes({0x23, 0x0B}); }
QByteArray ocrZoom(int action) { return bytes({0x23, 0x0C, action}); }
QByteArray ocrColor(int step) { return bytes({0x23, 0x0D, step}); }
QByteArray ocrContrast(int step) { return bytes({0x23, 0x10, step}); }
QByteArray ocrCameraPreview() { return bytes({0x23, 0x11}); }

}
