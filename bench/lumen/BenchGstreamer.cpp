#include "BenchPaths.h"

#include <gst/app/gstappsrc.h>
#include <gst/gst.h>

#include <condition_variable>
#include <mutex>

namespace {

// appsrc asks for data when its queue has run dry, i.e. once the buffer
// before has gone all the way down the pipeline, through the sink's
// drawing. That is the moment a pushed frame counts as shown.
struct Drained
{
    std::mutex mutex;
    std::condition_variable changed;
    int count = 0;
};

void onNeedData(GstAppSrc *, guint, gpointer user)
{
    auto *drained = static_cast<Drained *>(user);
    {
        std::lock_guard lock(drained->mutex);
        ++drained->count;
    }
    drained->changed.notify_all();
}

void releaseBytes(gpointer bytes)
{
    delete static_cast<QByteArray *>(bytes);
}

QString busError(GstElement *pipeline)
{
    GstBus *bus = gst_element_get_bus(pipeline);
    QString text;
    while (GstMessage *message = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR)) {
        GError *error = nullptr;
        gst_message_parse_error(message, &error, nullptr);
        text = QString::fromUtf8(error ? error->message : "error");
        g_clear_error(&error);
        gst_message_unref(message);
    }
    gst_object_unref(bus);
    return text;
}

} // namespace

BenchStats benchGstreamer(const BenchFrames &frames, BenchFormat format, BenchRun run)
{
    BenchStats stats;
    stats.path = QStringLiteral("GStreamer ximagesink");
    stats.format = benchFormatName(format);
    gst_init(nullptr, nullptr);

    const QString caps =
        (format == BenchFormat::Yuyv ? QStringLiteral("video/x-raw,format=YUY2,")
                                     : QStringLiteral("image/jpeg,")) +
        QStringLiteral("width=%1,height=%2,framerate=30/1")
            .arg(frames.size.width())
            .arg(frames.size.height());
    const QString description =
        QStringLiteral("appsrc name=src is-live=true format=time do-timestamp=true caps=\"%1\" ! %2"
                       "videoconvert ! ximagesink sync=false")
            .arg(caps, format != BenchFormat::Yuyv ? QStringLiteral("jpegdec ! ") : QString());
    GError *error = nullptr;
    GstElement *pipeline = gst_parse_launch(description.toUtf8().constData(), &error);
    if (!pipeline || error) {
        stats.note = QStringLiteral("pipeline not built: %1")
                         .arg(QString::fromUtf8(error ? error->message : "unknown"));
        g_clear_error(&error);
        if (pipeline)
            gst_object_unref(pipeline);
        return stats;
    }
    GstElement *src = gst_bin_get_by_name(GST_BIN(pipeline), "src");
    Drained drained;
    GstAppSrcCallbacks callbacks{};
    callbacks.need_data = onNeedData;
    gst_app_src_set_callbacks(GST_APP_SRC(src), &callbacks, &drained, nullptr);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);

    const auto &bytes = benchBytes(frames, format);
    BenchCpuClock cpu;
    for (int i = 0; i < run.warmup + run.frames; ++i) {
        if (i == run.warmup)
            cpu.start();
        auto *data = new QByteArray(bytes[size_t(i) % bytes.size()]);
        int before;
        {
            std::lock_guard lock(drained.mutex);
            before = drained.count;
        }
        const double t0 = benchNowMs();
        GstBuffer *buffer = gst_buffer_new_wrapped_full(
            GST_MEMORY_FLAG_READONLY, const_cast<char *>(data->constData()), size_t(data->size()),
            0, size_t(data->size()), data, releaseBytes);
        gst_app_src_push_buffer(GST_APP_SRC(src), buffer);
        bool ok;
        {
            std::unique_lock lock(drained.mutex);
            ok = drained.changed.wait_for(lock, std::chrono::seconds(2),
                                          [&] { return drained.count > before; });
        }
        const double t1 = benchNowMs();
        if (i == run.warmup - 1 && !benchScreenShowsFrame())
            stats.note += QStringLiteral(" picture not seen on screen");
        if (i >= run.warmup) {
            if (ok)
                stats.ms.push_back(t1 - t0);
            else
                ++stats.timeouts;
        }
        if (!ok) {
            const QString text = busError(pipeline);
            if (!text.isEmpty()) {
                stats.note = text;
                break;
            }
        }
        benchSettle(3);
    }
    cpu.finish(stats, stats.ms.size() + size_t(stats.timeouts));
    gst_app_src_end_of_stream(GST_APP_SRC(src));
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(src);
    gst_object_unref(pipeline);
    return stats;
}
