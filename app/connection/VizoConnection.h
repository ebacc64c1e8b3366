#pragma once
// Everything that lives and dies with one connection to the camera: the
// settings model mirrored from it, the device link with its reading thread,
// the virtual device of --simulate, the report dispatcher and the deletion
// hand-shake (flag and semaphore). A camera that comes back is a new
// connection, a new object.
//
// Once the link is lost the object stays until every window that used it
// has closed: what is sent then goes nowhere, and what the old dispatcher
// had queued is dropped. The owner releases it only when no modal run is
// left on the call stack.
//
// Main thread, except writeVizoPacket() (any one thread at a time, as the
// link allows) and the deletion flag and semaphore, which the reading thread
// and the delete worker share.
#include "connection/DeviceLink.h"

#include <QObject>
#include <QSemaphore>
#include <QString>

#include <atomic>
#include <memory>

class AppContext;
class SimulatedDevice;
class VizoEventDispatcher;
class VizoProtocolChannel;
class VizoSettings;

class VizoConnection : public QObject
{
    Q_OBJECT

public:
    VizoConnection(AppContext &context, int serial, QObject *parent = nullptr);
    ~VizoConnection() override;

    // Counts connections since launch: 1 for the first.
    int serial() const { return m_serial; }
    VizoSettings &settings() const { return *m_settings; }
    VizoEventDispatcher &dispatcher() const { return *m_dispatcher; }

    // The virtual device of --simulate, started before the link opens.
    struct Simulation
    {
        int edition = 0;
        int images = 12;
        int ocrTexts = 5;
        int nameLength = 0;
        int baud = 0;           // 0: no wire time
        QString controlSocket;  // empty: none
    };
    bool startSimulatedDevice(const Simulation &simulation, QString *error);
    SimulatedDevice *simulatedDevice() const { return m_simulatedDevice.get(); }

    // Opens the link on `portPath` (the virtual device's, or discovery when
    // empty) and starts reading; reports go to the dispatcher. `onFailure`
    // gets every failure, on any thread; `opened` says whether the link had
    // been up (an unplug) or never was (a port that cannot be opened).
    using FailureHandler = std::function<void(const QString &message, bool opened)>;
    bool openLink(const QString &portPath, FailureHandler onFailure);
    DeviceLink *link() const { return m_link.get(); }
    VizoProtocolChannel *protocolChannel() const;

    void writeVizoPacket(const QByteArray &payload);

    // The camera has gone: stop reading and drop what is sent from now on.
    void markLost();
    bool isLost() const { return m_lost.load(); }

    // Stops reading and closes the port (the end of the run).
    void close();

    // Written by the delete worker, read by the reading thread.
    bool deletingFiles() const { return m_deletingFiles.load(); }
    void setDeletingFiles(bool deleting) { m_deletingFiles.store(deleting); }
    QSemaphore &semaphoreForDelete() { return m_semaphoreForDelete; }

private:
    const int m_serial;
    std::unique_ptr<VizoSettings> m_settings;
    std::unique_ptr<SimulatedDevice> m_simulatedDevice;
    std::unique_ptr<VizoEventDispatcher> m_dispatcher;
    std::unique_ptr<DeviceLink> m_link;
    std::atomic<bool> m_deletingFiles{false};
    QSemaphore m_semaphoreForDelete{0};
    // Read by the delete worker as it sends.
    std::atomic<bool> m_lost{false};
};
