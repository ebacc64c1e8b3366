#include "files/FileDeleteWorker.h"

#include "connection/VizoConnection.h"
#include "kit/AppContext.h"

#include <bramble/BrDispatch.h>

#include <QDeadlineTimer>
#include <QPointer>
#include <QSemaphore>

namespace {
// How often a wait looks at the cancel flag.
constexpr int kWaitSliceMs = 50;
} // namespace

FileDeleteWorker::FileDeleteWorker(AppContext &app, VizoConnection &connection)
    : m_app(app), m_connection(connection)
{
}

FileDeleteWorker::~FileDeleteWorker()
{
    cancel();
}

void FileDeleteWorker::start(QList<QByteArray> payloads, FinishedHandler finished, QObject *context)
{
    cancel();
    m_cancel = false;
    m_result = Result{};
    m_result.frameCount = int(payloads.size());
    m_finished = std::move(finished);
    m_running = true;
    QPointer<QObject> guard(context);
    m_thread = std::thread([this, payloads = std::move(payloads), guard] {
        run(payloads);
        m_running = false;
        if (m_cancel)
            return;
        const Result result = m_result;
        FinishedHandler finished = m_finished;
        if (!guard || !finished)
            return;
        brPostMain([finished, result] { finished(result); }, guard.data());
    });
}

FileDeleteWorker::Result FileDeleteWorker::cancel()
{
    if (!m_thread.joinable())
        return m_result;
    m_cancel = true;
    m_thread.join();
    m_running = false;
    return m_result;
}

void FileDeleteWorker::run(const QList<QByteArray> &payloads)
{
    QSemaphore &answers = m_connection.semaphoreForDelete();
    // A confirmation left over from an earlier, abandoned deletion must not
    // release this one's first wait.
    while (answers.tryAcquire())
        ;
    const int n = int(payloads.size());
    m_connection.setDeletingFiles(true);
    for (int i = 0; i < n; ++i) {
        if (m_cancel) {
            m_result.outcome = Outcome::Cancelled;
            break;
        }
        const bool last = i == n - 1;
        // The last frame's answer goes the dispatcher's ordinary way: it
        // closes the delete box and asks for the new list.
        if (last)
            m_connection.setDeletingFiles(false);
        m_app.writeVizoPacket(payloads.at(i));
        ++m_result.framesSent;
        if (last)
            break;
        if (!waitForAnswer()) {
            m_result.outcome = m_cancel ? Outcome::Cancelled : Outcome::TimedOut;
            break;
        }
    }
    m_connection.setDeletingFiles(false);
}

bool FileDeleteWorker::waitForAnswer()
{
    QSemaphore &answers = m_connection.semaphoreForDelete();
    QDeadlineTimer deadline(m_answerTimeoutMs);
    while (!m_cancel) {
        const int slice =
            int(std::min<qint64>(kWaitSliceMs, std::max<qint64>(0, deadline.remainingTime())));
        if (answers.tryAcquire(1, slice))
            return true;
        if (deadline.hasExpired())
            return false;
    }
    return false;
}
