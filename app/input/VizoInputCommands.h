#pragma once
// The device commands that hot keys and gestures send, as payload bytes
// built by the protocol's command records.
#include <QByteArray>

#include <cstdint>

namespace VizoInputCommands {

QByteArray cameraZoom(int action);    // 0 in, 1 out, 2 stop
QByteArray cameraMove(int direction); // 0..7, 0x0A stop
QByteArray cameraMoveSpeed(int level);
QByteArray cameraColor(int step); // 0 next, 1 previous
QByteArray selectView(int view);  // 1 near, 0 distance, 2 bookmark
QByteArray findPositionStart();
QByteArray findPositionEnd();
QByteArray easyColorChange(int back); // 0 to slot 0, 1 back
QByteArray nextLine();
QByteArray setFocusLock(bool on);
QByteArray setContrast(int target, int value);
QByteArray markerAdjust(int action);
QByteArray autoScrollExit();
QByteArray autoScrollEnter();
QByteArray autoScrollPlay();
QByteArray autoScrollPause();
QByteArray autoScrollNextLine();
QByteArray setTtsSpeed(int speed);
QByteArray imageSave();
QByteArray imageColor(int step);
QByteArray imageZoom(int action);
QByteArray imageMove(int direction);
QByteArray imageContrast(int step); // 0 up, 1 down
QByteArray ocrStart();
QByteArray ocrPlay();
QByteArray ocrPause();
QByteArray ocrPrevLine();
QByteArray ocrNextLine();
QByteArray ocrPrevParagraph();
QByteArray ocrNextParagraph();
QByteArray ocrSave();
QByteArray ocrExit();
QByteArray ocrZoom(int action);
QByteArray ocrColor(int step);
QByteArray ocrContrast(int step);
QByteArray ocrCameraPreview();

} // namespace VizoInputCommands
