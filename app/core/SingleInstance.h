#pragma once
// One copy of the viewer at a time. The first copy holds a lock file and a
// local socket beside it in $XDG_RUNTIME_DIR (or the temporary folder); a
// second copy finds the lock taken, asks the first to raise its window over
// the socket and ends. Nothing persistent is written.
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QLocalServer;
class QLockFile;

class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(QObject *parent = nullptr);
    ~SingleInstance() override;

    // Takes the lock and listens; false when another copy holds the lock.
    bool claim();
    // From a second copy: asks the running copy to come to the front. True
    // when it answered.
    bool raiseRunningCopy(int timeoutMs = 5000);
    // This copy's claim, or nullptr when another copy runs: that one has
    // then been asked to come to the front, standard error says so and
    // `exitCode` is 0 (it answered) or 1.
    static std::unique_ptr<SingleInstance> claimOrRaise(int *exitCode);

    // Called in the first copy when a second one asks.
    std::function<void()> eventRaise;

    static QString runtimeFolder();
    static QString lockPath();
    static QString socketPath();

private:
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLocalServer> m_server;
};
