#pragma once
// Keeps hot key reports in the order the keys were pressed relative to the
// key events Qt delivers itself.
//
// The X11 back end sees a grabbed key in Qt's native event filter, while Qt
// queues the other key events of the same batch and delivers them only after
// the filter has returned. Acting at once would let a hot key overtake a key
// pressed before it: "Right, Return" on a busy main thread would act as
// "Return, Right". A report therefore runs at once only when Qt has no
// earlier key event still to deliver (the usual case, which keeps hot keys
// fast); otherwise it waits until Qt is about to deliver the first later key
// event, or at the latest until the posted events come round, after Qt has
// delivered what it had queued.
//
// Main thread only.
#include <QObject>

#include <cstdint>
#include <deque>
#include <functional>

class BrKeyEventOrder : public QObject
{
public:
    BrKeyEventOrder();
    ~BrKeyEventOrder() override;

    // A key event for one of the application's windows was seen; Qt will
    // deliver it later.
    void keyEventForQt() { ++m_seen; }
    // Runs `report`, for a key seen at `time`, now or once the key events
    // seen before it have been delivered.
    void run(uint32_t time, std::function<void()> report);
    bool isWaiting() const { return !m_waiting.empty(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Waiting
    {
        quint64 after = 0; // key events for Qt seen before this one
        uint32_t time = 0;
        std::function<void()> report;
    };
    void runWaitingBefore(quint64 delivered, uint32_t time);
    void runAllWaiting();

    std::deque<Waiting> m_waiting;
    quint64 m_seen = 0;
    quint64 m_delivered = 0;
    bool m_flushPosted = false;
};
