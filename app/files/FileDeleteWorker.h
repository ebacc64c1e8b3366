#pragma once
// Sends a deletion that may span several DeleteFiles frames, on a thread of
// its own: after every frame but the last it waits for the device's
// DeleteResult (the dispatcher releases the delegate's delete semaphore on
// the reading thread while the delegate's deletingFiles flag is set), so the
// main thread keeps drawing and handling the device's reports meanwhile.
//
// A device that stays silent does not hold the deletion for ever: a wait
// ends after answerTimeoutMs (measured from the moment the frame has been
// written, so the link's pacing does not count against the device), and the
// remaining frames are not sent. cancel() ends a wait within moments; the
// destructor cancels and joins, so no thread is left on the semaphore.
//
// start(), cancel() and the finished handler: main thread.
#include <QByteArray>
#include <QList>
#include <QObject>

#include <atomic>
#include <functional>
#include <thread>

class AppContext;
class VizoConnection;

class FileDeleteWorker
{
public:
    // How long the device may take to confirm one frame.
    static constexpr int kAnswerTimeoutMs = 60000;

    enum class Outcome {
        Done,      // every frame went out (the last one's answer is the dispatcher's)
        TimedOut,  // the device did not confirm a frame in time
        Cancelled, // stopped from the main thread while frames were left
    };
    struct Result
    {
        Outcome outcome = Outcome::Done;
        int framesSent = 0;
        int frameCount = 0;
    };
    using FinishedHandler = std::function<void(const Result &)>;

    // Sends through `app`; waits on the answers `connection` collects.
    FileDeleteWorker(AppContext &app, VizoConnection &connection);
    ~FileDeleteWorker();
    FileDeleteWorker(const FileDeleteWorker &) = delete;
    FileDeleteWorker &operator=(const FileDeleteWorker &) = delete;

    // Sends the frames' payloads in order. `finished` runs on the main
    // thread afterwards, unless `context` is gone or the worker was
    // cancelled. A deletion still running is cancelled first.
    void start(QList<QByteArray> payloads, FinishedHandler finished, QObject *context);
    // Stops waiting and sending; returns once the thread has ended. The
    // result (Cancelled when frames were left) is returned here instead of
    // going to the finished handler.
    Result cancel();
    bool isRunning() const { return m_running.load(); }

    int answerTimeoutMs() const { return m_answerTimeoutMs; }
    void setAnswerTimeoutMs(int ms) { m_answerTimeoutMs = ms; }

private:
    void run(const QList<QByteArray> &payloads);
    bool waitForAnswer();

    AppContext &m_app;
    VizoConnection &m_connection;
    std::thread m_thread;
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_running{false};
    int m_answerTimeoutMs = kAnswerTimeoutMs;
    Result m_result;
    FinishedHandler m_finished;
};
