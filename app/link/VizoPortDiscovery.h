#pragma once
// Finding the device's serial port: the tty whose USB device has vendor 04b4
// and product f8f8 or f9f9 (a CDC-ACM port, /dev/ttyACM*).
#include <QByteArray>
#include <QString>

struct VizoModemLookup
{
    QString path;     // device node of the port; empty when none was found
    int speed = -1;   // USB speed code of its device (see vizoUsbSpeedCode)
    QString failure;  // the message for the user when the lookup failed
};

// Walks the tty devices; prints the design's diagnostics on the way.
VizoModemLookup vizoFindModem();

// USB speed code of the USB device behind a tty node (a port named on the
// command line: whatever device the user chose), -1 when the node has no
// USB device behind it (a pseudo-terminal, say).
int vizoUsbSpeedOfPort(const QString &path);

// Speed code from the kernel's "speed" attribute in Mb/s:
// 1.5 -> 0 (low), 12 -> 1 (full), 480 -> 2 (high), 5000 and up -> 3 (super).
int vizoUsbSpeedCode(const QByteArray &megabits);

// Whether vendor and product (hex text as the kernel gives them) are a Vizo's.
bool vizoIsDeviceId(const QByteArray &vendor, const QByteArray &product);
