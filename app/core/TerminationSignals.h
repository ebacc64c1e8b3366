#pragma once
// SIGINT and SIGTERM end the viewer the orderly way (the device hears
// HostClosing) instead of killing it mid-frame: the signal handler only
// writes to a pipe; the main thread reads it and calls the handler.
#include <QObject>

#include <functional>

class QSocketNotifier;

class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(std::function<void()> onSignal, QObject *parent = nullptr);
    ~TerminationSignals() override;

private:
    std::function<void()> m_onSignal;
    QSocketNotifier *m_notifier = nullptr;
};
