#pragma once
// A Video4Linux capture device: mmap streaming with four buffers on a
// thread of its own. MJPEG frames are decoded on that thread (with the
// decoder's helper thread, see LumenJpegDecoder) and their buffer goes
// straight back to the driver; a YUYV buffer is lent to the screen as it
// is and goes back once a newer frame replaced it. When decoding falls
// behind, the newest frame the driver holds is taken and older ones go
// back undecoded.
#include "LumenFrameSource.h"

#include <QString>

#include <atomic>
#include <memory>
#include <thread>

class LumenFrameSlot;

class LumenV4l2Source : public LumenFrameSource
{
public:
    struct Found
    {
        QString path;   // empty when nothing matched
        QString reason; // why not, for the user
    };
    // The capture node whose card name is `name` (VIDIOC_QUERYCAP) and
    // which can capture video by streaming. `directory` is for tests.
    static Found find(const QString &name, const QString &directory = QStringLiteral("/dev"));

    // Opens the device and chooses its format. Throws LumenError.
    LumenV4l2Source(const QString &name, const QString &path, std::shared_ptr<LumenFrameSlot> slot);
    ~LumenV4l2Source() override;

    bool start() override;
    void stop() override;
    bool isRunning() const override { return m_capturing; }

    struct Stream;

private:
    void run(std::shared_ptr<Stream> stream);

    QString m_name;
    QString m_path;
    std::shared_ptr<LumenFrameSlot> m_slot;
    std::shared_ptr<Stream> m_stream;
    std::thread m_thread;
    std::atomic<bool> m_capturing{false};
    int m_wakeFd = -1;
    QString m_lastError;
};
