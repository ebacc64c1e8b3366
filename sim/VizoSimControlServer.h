#pragma once
// Carries control lines (VizoSimControl.h) to a virtual device: from a Unix
// socket that any number of clients connect to (socat, nc -U, a test), and
// from an input stream such as standard input. Every line gets its reply
// (one line; several for help) back, on the socket it came from or through
// eventReply for the input stream. Runs on a thread of its own; `handler` is called there.
#include <QString>

#include <functional>
#include <thread>
#include <vector>

class VizoSimControlServer
{
public:
    explicit VizoSimControlServer(std::function<QString(const QString &line)> handler);
    ~VizoSimControlServer();

    VizoSimControlServer(const VizoSimControlServer &) = delete;
    VizoSimControlServer &operator=(const VizoSimControlServer &) = delete;

    // Replies to lines of the input stream.
    std::function<void(const QString &reply)> eventReply;

    // Listens on a socket at `path` (an old socket file there is replaced).
    // False with a reason when it cannot.
    bool listen(const QString &path, QString *error = nullptr);
    // Also reads lines from `fd` (not closed here); its end is not an error.
    void readFrom(int fd) { m_input = fd; }

    void start();
    void stop();

private:
    void run();
    void serveLines(int fd, QByteArray &pending, bool socket);

    std::function<QString(const QString &)> m_handler;
    QString m_path;
    int m_listen = -1;
    int m_input = -1;
    int m_wake[2] = {-1, -1};
    std::thread m_thread;
};
