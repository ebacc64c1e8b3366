#pragma once
// The payloads the application core itself sends, built from the wire
// format's command records.
#include <QByteArray>
#include <QString>

namespace DeviceCommands {

QByteArray menuOpened();
QByteArray menuClosed();
QByteArray hostClosing();
QByteArray hostConnectedUsb2();
QByteArray hostConnectedUsb3();
QByteArray requestFileList(int kind);
QByteArray requestOptionFile();
QByteArray speakText(const QString &text);
QByteArray findPositionEnd();
QByteArray ocrExit();

} // namespace DeviceCommands
