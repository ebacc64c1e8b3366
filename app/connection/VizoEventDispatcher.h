#pragma once
// Where every report of the device enters the application. onPacket() runs
// on the link's reading thread for each received frame; everything that
// touches the settings model, a window or the delegate's flags is posted to
// the main thread in arrival order. Only the delete confirmations that pace
// a running multi-frame deletion act on the reading thread (they release
// the delete worker).
//
// The three multi-frame transfers (image list, OCR list, option file) are
// collected here on the reading thread, parsed on a worker thread and
// applied on the main thread.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QThreadPool>

#include <condition_variable>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class AppContext;
class VizoConnection;

class VizoEventDispatcher
{
public:
    VizoEventDispatcher(AppContext &app, VizoConnection &connection);
    ~VizoEventDispatcher();

    // One received frame's payload, with the frame's packet count and index
    // (multi-frame transfers). Reading thread (or any one thread at a time).
    void onPacket(const QByteArray &payload, uint16_t count, uint16_t index);

    // Main thread: a DeleteResult has asked for a list that has not arrived.
    bool fileListRequestPending() const { return m_fileListRequestPending; }

    // Waits until no parse is running (tests, shutdown).
    void waitForParsers();

    // Main thread: the option file has been parsed (start-up completes).
    std::function<void(const QMap<QString, QString> &pairs)> eventOptionFile;
    // Main thread: the device said it is leaving.
    std::function<void(const QString &message)> eventDisconnecting;

private:
    void post(std::function<void()> fn);
    void startParse(std::function<void()> parse);
    void onReport(uint8_t group, uint8_t command, const uint8_t *payload, size_t length);
    void onTransferFrame(std::optional<QByteArray> &buffer, int count, int index, const uint8_t *data,
                         size_t length, void (VizoEventDispatcher::*complete)(QByteArray));
    void completeImageList(QByteArray data);
    void completeOcrList(QByteArray data);
    void completeOptionFile(QByteArray data);
    void completeFileList(int kind, QByteArray data);

    // Main-thread effects shared by several reports.
    void enableInput(bool enable);
    void refreshMode();
    void refreshMenuColor();

    AppContext &m_app;
    VizoConnection &m_connection;
    // Reading thread only.
    std::optional<QByteArray> m_imageListBuffer;
    std::optional<QByteArray> m_ocrListBuffer;
    std::optional<QByteArray> m_optionFileBuffer;
    // Main thread only.
    bool m_fileListRequestPending = false;
    // Parses still running. Waiting on this count rather than on the pool
    // keeps the pool's threads: QThreadPool::waitForDone() joins and
    // deletes them all, and every transfer would start a new thread.
    std::mutex m_runningMutex;
    std::condition_variable m_runningDone;
    std::deque<std::function<void()>> m_parses;
    int m_running = 0;
    // The parsers' worker threads.
    QThreadPool m_parsers;
    // Effects posted by this dispatcher run only while it exists: a new
    // connection gets a new dispatcher, and what the old one left queued
    // is dropped.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};
