#include "connection/VizoConnection.h"

#include "connection/VizoEventDispatcher.h"
#include "settings/VizoSettings.h"
#include "sim/SimulatedDevice.h"

#include <bramble/BrDispatch.h>

#include <atomic>

VizoConnection::VizoConnection(AppContext &context, int serial, QObject *parent)
    : QObject(parent)
    , m_serial(serial)
    , m_settings(std::make_unique<VizoSettings>())
    , m_dispatcher(std::make_unique<VizoEventDispatcher>(context, *this))
{
}

VizoConnection::~VizoConnection()
{
    // The reading thread first: it feeds the dispatcher. Then the parsers,
    // which hand their results to the model, then the virtual device.
    if (m_link)
        m_link->stopRead();
    m_link.reset();
    m_dispatcher->waitForParsers();
    m_dispatcher.reset();
    m_simulatedDevice.reset();
}

bool VizoConnection::startSimulatedDevice(const Simulation &simulation, QString *error)
{
    m_simulatedDevice = std::make_unique<SimulatedDevice>(simulation.edition);
    m_simulatedDevice->setCard({simulation.images, simulation.ocrTexts, simulation.nameLength});
    m_simulatedDevice->setLink({simulation.baud, simulation.controlSocket});
    if (m_simulatedDevice->start(error))
        return true;
    m_simulatedDevice.reset();
    return false;
}

bool VizoConnection::openLink(const QString &portPath, FailureHandler onFailure)
{
    VizoEventDispatcher *dispatcher = m_dispatcher.get();
    auto opened = std::make_shared<std::atomic<bool>>(false);
    auto failure = [onFailure = std::move(onFailure), opened](const QString &message) {
        onFailure(message, opened->load());
    };
    auto onFrame = [dispatcher](const QByteArray &payload, uint16_t count, uint16_t index) {
        dispatcher->onPacket(payload, count, index);
    };
    m_link = DeviceLink::openProtocolChannel(portPath, onFrame, failure);
    if (!m_link)
        return false;
    opened->store(true);
    m_link->startRead();
    return true;
}

VizoProtocolChannel *VizoConnection::protocolChannel() const
{
    return m_link ? m_link->channel() : nullptr;
}

void VizoConnection::writeVizoPacket(const QByteArray &payload)
{
    if (m_link && !m_lost)
        m_link->writeVizoPacket(payload);
}

void VizoConnection::markLost()
{
    if (m_lost.exchange(true))
        return;
    if (m_link)
        m_link->stopRead();
    // A deletion waiting for the device's answers waits no more.
    setDeletingFiles(false);
}

void VizoConnection::close()
{
    m_lost = true;
    if (m_link)
        m_link->stopRead();
    // Waits for the reading loop and closes the port.
    m_link.reset();
}
