#pragma once
// The camera as the kernel shows it, for the real viewer binary: a umockdev
// testbed with the USB device (04b4:f8f8 or f9f9, its idVendor, idProduct
// and speed), its CDC-ACM interface and a ttyACM0 child whose node is a
// pseudo-terminal with the virtual device on the other end, beside two other
// serial ports that are not the camera's, and the camera's video node
// (CaptureNode.h). Plugging and
// unplugging send the add and remove uevents a libudev monitor sees.
//
// The test process runs under umockdev's preload library (the testbed
// checks its own paths through it); the viewer inherits it.
#include "CaptureNode.h"

#include "sim/VizoSimulator.h"

#include <QString>
#include <QStringList>

#include <linux/videodev2.h>

#include <memory>
#include <mutex>

struct _UMockdevTestbed;
struct _UMockdevIoctlBase;

class CameraTestbed
{
public:
    CameraTestbed();
    ~CameraTestbed();

    QString root() const { return m_root; }

    struct Camera
    {
        QString product = QStringLiteral("f8f8");
        QString speed = QStringLiteral("480"); // Mb/s, as the kernel's attribute says
        int baud = 0;                          // the virtual device's link timing
        VizoSimState state;
        bool video = true; // the capture node "FX3" beside the serial port
        CaptureNode::Format format{V4L2_PIX_FMT_YUYV, {V4L2_PIX_FMT_YUYV, V4L2_PIX_FMT_MJPEG}, {1920, 1080}};
    };
    // Adds the devices, then their add events; false with a reason in
    // *error.
    bool plug(const Camera &camera, QString *error = nullptr);
    // The video node of a camera plugged without one, with its add event:
    // a node that comes late.
    bool plugVideo(const Camera &camera, QString *error = nullptr);
    // Remove events (children first), the devices go, the device's port
    // closes: the viewer sees the hang-up.
    void unplug();
    bool plugged() const { return m_device != nullptr; }

    VizoSimulator *device() { return m_device.get(); }
    CaptureNode &video() { return *m_video; }
    // The device's trace since the plug ("host:   RequestOptionFile crc=ok" ...).
    QStringList trace();
    bool traced(const QString &prefix);
    bool ended() const { return m_ended; }

private:
    _UMockdevTestbed *m_testbed = nullptr;
    _UMockdevIoctlBase *m_ttyIoctl = nullptr;
    QString m_root;
    QString m_usb, m_interface, m_tty;
    std::unique_ptr<VizoSimulator> m_device;
    std::unique_ptr<CaptureNode> m_video;
    std::mutex m_mutex;
    QStringList m_trace;
    std::atomic<bool> m_ended{false};
};
