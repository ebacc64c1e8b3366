#pragma once
// The virtual device run inside the viewer (--simulate): it answers on a
// pseudo-terminal like the real camera, and its picture, drawn from its
// current state a few times a second, is shown through Lumen's program
// frame feed.
#include <QObject>
#include <QSize>
#include <QString>
#include <QTimer>

#include <memory>

class LumenFrameFeed;
class VizoSimControlServer;
class VizoVirtualDevice;
struct SimulatedPictureState;
struct VizoSimRegion;
struct VizoSimState;

class SimulatedDevice : public QObject
{
    Q_OBJECT

public:
    explicit SimulatedDevice(int edition, QObject *parent = nullptr);
    ~SimulatedDevice() override;

    // Whether this build has the virtual device and the serial link.
    static bool isAvailable();

    // What the memory card holds at the start; set before start().
    struct Card
    {
        int images = 12;
        int ocrTexts = 5;
        int nameLength = 0; // 0: short names
    };
    void setCard(const Card &card) { m_card = card; }
    // The link's timing and the control socket (empty: none); before start().
    struct Link
    {
        int baud = 0; // 0: no wire time
        QString controlSocket;
    };
    void setLink(const Link &link) { m_link = link; }

    // Opens the pseudo-terminal and starts answering. False with a reason
    // when the terminal cannot be made.
    bool start(QString *error);
    // The terminal the viewer opens.
    QString portPath() const;
    // The picture, fed while the device runs.
    std::shared_ptr<LumenFrameFeed> frameSource() const { return m_feed; }

    // Ends the device: it closes its terminal, which the viewer's link sees
    // as the device going away.
    void stop();
    // The viewer has said HostClosing to the device.
    bool hostSaidClosing() const;

    // Frames per second of the picture, and its size.
    static constexpr int kFramesPerSecond = 10;
    static constexpr QSize kFrameSize{1280, 720};

    // What the picture shows of a device state.
    static SimulatedPictureState pictureState(const VizoSimState &state, const VizoSimRegion &region);

private:
    void pushFrame();

    int m_edition;
    Card m_card;
    Link m_link;
    std::unique_ptr<VizoSimControlServer> m_control;
    std::unique_ptr<VizoVirtualDevice> m_device;
    std::shared_ptr<LumenFrameFeed> m_feed;
    QTimer m_frameTimer;
    qint64 m_startMs = 0;
};
