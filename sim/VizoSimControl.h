#pragma once
// The virtual device's control channel: one line of text makes the device
// say something on its own, as the real one does when its battery runs low,
// its buttons change the mode, its card changes or it is switched off.
// Tests send these lines, and so can a person debugging a viewer (vizo-sim
// --control). The commands (also printed by "help"):
//
//   disconnecting               DeviceDisconnecting (the device is switching off)
//   battery LEVEL               BatteryNotice LEVEL (0-100); later battery texts say LEVEL %
//   battery-info                BatteryInfo with the battery text
//   view near|distance          CameraModeChanged, as the device's view button does
//   mode camera|ocr|image|autoscroll
//                               the device enters that mode by its own buttons
//   files images|ocr COUNT [LENGTH]
//                               the card now holds COUNT such files (names of LENGTH
//                               characters, 13-255); the new list follows
//   send HEX...                 any payload, as hex bytes ("26 18 05")
//   unplug                      the device goes away: its port closes
//   help                        this list
#include "sim/VizoSimDevice.h"

#include <QString>

#include <vector>

struct VizoSimControlResult
{
    bool ok = false;
    QString reply;                    // "ok ..." or "error: ..." (help: more lines)
    std::vector<VizoSimFrame> frames; // what the device sends now
    bool unplug = false;              // the port should close
};

// Runs one command line on the device. Thread-safe as the device is.
VizoSimControlResult vizoSimControl(VizoSimDevice &device, const QString &line);

// The command list, one command a line.
QString vizoSimControlHelp();
