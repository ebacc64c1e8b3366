// The viewer's own start-up, idle memory and hot key latency, measured
// from outside as a user meets them, on the X server in $DISPLAY:
//
//   app_bench [--runs N] [--presses N] [--viewer PATH]
//
// - first window: from the launch to the first window on screen (target
//   300 ms), and to the first window showing more than one colour (the
//   main window is black until the picture comes; the splash has text);
// - idle memory: resident and proportional set size once start-up is done
//   (target 80 MB);
// - hot key: from the key press reaching the X server to the command's
//   frame arriving at the (virtual) device's serial port (target 2 ms).
#include "input/VizoHotKeyMap.h"
#include "sim/VizoSimulator.h"

#include <bramble/BrKeyMap.h>

#include <QCoreApplication>
#include <QString>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

struct Stats
{
    std::vector<double> ms;
    double at(double q) const
    {
        if (ms.empty())
            return 0;
        std::vector<double> s = ms;
        std::sort(s.begin(), s.end());
        return s[std::min(s.size() - 1, size_t(q * double(s.size())))];
    }
};

// The viewer as a child process; stopped with SIGTERM like a session end.
class Viewer
{
public:
    bool start(const std::string &path, const std::vector<std::string> &args)
    {
        std::vector<char *> argv;
        argv.push_back(const_cast<char *>(path.c_str()));
        for (const auto &a : args)
            argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        return posix_spawn(&m_pid, path.c_str(), nullptr, nullptr, argv.data(), environ) == 0;
    }
    pid_t pid() const { return m_pid; }
    void stop()
    {
        if (m_pid <= 0)
            return;
        kill(m_pid, SIGTERM);
        for (int i = 0; i < 100; ++i) {
            if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
                m_pid = -1;
                return;
            }
            usleep(50000);
        }
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
    ~Viewer() { stop(); }

private:
    pid_t m_pid = -1;
};

class Display
{
public:
    bool open()
    {
        m_c = xcb_connect(nullptr, nullptr);
        if (!m_c || xcb_connection_has_error(m_c))
            return false;
        m_screen = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_c, m_screen->root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_c);
        return true;
    }
    ~Display()
    {
        if (m_c)
            xcb_disconnect(m_c);
    }
    xcb_connection_t *c() const { return m_c; }
    xcb_window_t root() const { return m_screen->root; }

    // Throws away what happened before now.
    void drain()
    {
        while (xcb_generic_event_t *e = xcb_poll_for_event(m_c))
            std::free(e);
    }
    // The next top-level window mapped, or nothing within `ms`.
    std::optional<xcb_window_t> nextMapped(double ms)
    {
        const auto t0 = Clock::now();
        while (msSince(t0) < ms) {
            xcb_generic_event_t *e = xcb_poll_for_event(m_c);
            if (!e) {
                usleep(200);
                continue;
            }
            const bool mapped = (e->response_type & 0x7f) == XCB_MAP_NOTIFY;
            const xcb_window_t window =
                mapped ? reinterpret_cast<xcb_map_notify_event_t *>(e)->window : 0;
            std::free(e);
            if (mapped)
                return window;
        }
        return std::nullopt;
    }
    // True once the window shows more than one colour (it has been drawn).
    bool drawn(xcb_window_t window)
    {
        xcb_get_geometry_reply_t *g =
            xcb_get_geometry_reply(m_c, xcb_get_geometry(m_c, window), nullptr);
        if (!g)
            return false;
        const uint16_t w = std::min<uint16_t>(g->width, 400), h = std::min<uint16_t>(g->height, 300);
        std::free(g);
        xcb_get_image_reply_t *img = xcb_get_image_reply(
            m_c,
            xcb_get_image(m_c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, w, h, ~0u),
            nullptr);
        if (!img)
            return false;
        const auto *p = reinterpret_cast<const uint32_t *>(xcb_get_image_data(img));
        const int n = xcb_get_image_data_length(img) / 4;
        bool varied = false;
        for (int i = 1; i < n && !varied; ++i)
            varied = (p[i] & 0xffffff) != (p[0] & 0xffffff);
        std::free(img);
        return varied;
    }
    xcb_window_t largestTopLevel()
    {
        xcb_query_tree_reply_t *tree =
            xcb_query_tree_reply(m_c, xcb_query_tree(m_c, m_screen->root), nullptr);
        xcb_window_t best = 0;
        int bestArea = 0;
        if (!tree)
            return 0;
        const xcb_window_t *children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
            auto *attr = xcb_get_window_attributes_reply(
                m_c, xcb_get_window_attributes(m_c, children[i]), nullptr);
            auto *g = xcb_get_geometry_reply(m_c, xcb_get_geometry(m_c, children[i]), nullptr);
            if (attr && g && attr->map_state == XCB_MAP_STATE_VIEWABLE &&
                g->width * g->height > bestArea) {
                bestArea = g->width * g->height;
                best = children[i];
            }
            std::free(attr);
            std::free(g);
        }
        std::free(tree);
        return best;
    }

private:
    xcb_connection_t *m_c = nullptr;
    xcb_screen_t *m_screen = nullptr;
};

// Kilobytes of "Rss:" and "Pss:" in /proc/PID/smaps_rollup.
std::pair<long, long> memoryKb(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/smaps_rollup");
    std::string key;
    long value = 0, rss = 0, pss = 0;
    std::string unit;
    while (in >> key) {
        if (key == "Rss:" && in >> value >> unit)
            rss = value;
        else if (key == "Pss:" && in >> value >> unit)
            pss = value;
        else
            in.ignore(1 << 20, '\n');
    }
    return {rss, pss};
}

bool waitFor(const std::function<bool()> &done, double ms)
{
    const auto t0 = Clock::now();
    while (!done()) {
        if (msSince(t0) > ms)
            return false;
        usleep(1000);
    }
    return true;
}

// --- first window and idle memory ---

bool benchStartup(Display &display, const std::string &viewer, int runs)
{
    Stats mapped, drawn;
    long rss = 0, pss = 0;
    for (int run = 0; run < runs; ++run) {
        display.drain();
        Viewer v;
        const auto t0 = Clock::now();
        if (!v.start(viewer, {"--simulate"})) {
            std::printf("cannot start %s\n", viewer.c_str());
            return false;
        }
        std::vector<xcb_window_t> windows;
        bool shown = false;
        while (!shown && msSince(t0) < 10000) {
            if (const auto window = display.nextMapped(windows.empty() ? 10000 : 1)) {
                if (windows.empty())
                    mapped.ms.push_back(msSince(t0));
                windows.push_back(*window);
            }
            for (xcb_window_t w : windows)
                shown = shown || display.drawn(w);
        }
        if (!shown) {
            std::printf("run %d: no window drawn within 10 s\n", run);
            return false;
        }
        drawn.ms.push_back(msSince(t0));
        if (std::getenv("VIZO_BENCH_VERBOSE"))
            std::printf("run %d: mapped %.1f ms, showing %.1f ms\n", run, mapped.ms.back(),
                        drawn.ms.back());
        if (run == runs - 1) {
            // Idle: start-up done, the simulated picture running.
            usleep(4000000);
            for (int i = 0; i < 10; ++i) {
                const auto [r, p] = memoryKb(v.pid());
                rss = std::max(rss, r);
                pss = std::max(pss, p);
                usleep(200000);
            }
        }
        v.stop();
    }
    std::printf("%-34s %8.1f %8.1f %5zu   target 300 ms: %s\n", "first window on screen (ms)",
                mapped.at(0.5), mapped.at(0.95), mapped.ms.size(),
                mapped.at(0.95) <= 300 ? "met" : "MISSED");
    std::printf("%-34s %8.1f %8.1f %5zu\n", "first picture or text shown (ms)", drawn.at(0.5),
                drawn.at(0.95), drawn.ms.size());
    std::printf("%-34s %8.1f %8.1f          target 80 MB (RSS): %s\n",
                "idle memory, RSS / PSS (MB)", rss / 1024.0, pss / 1024.0,
                rss / 1024.0 <= 80 ? "met" : "MISSED");
    return true;
}

// --- hot key to serial port ---

struct Keys
{
    std::vector<xcb_keycode_t> modifiers;
    xcb_keycode_t key = 0;
};

std::optional<Keys> keysFor(xcb_connection_t *c, const QVariantMap &record)
{
    const auto mapping = brKeyMappingForKeyCode(quint16(record.value("KeyCode").toUInt()));
    if (!mapping)
        return std::nullopt;
    xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(c);
    const auto code = [&](xcb_keysym_t sym) -> xcb_keycode_t {
        xcb_keycode_t *codes = xcb_key_symbols_get_keycode(symbols, sym);
        const xcb_keycode_t k = codes ? codes[0] : 0;
        std::free(codes);
        return k;
    };
    Keys keys;
    // Ctrl, Alt, Shift, Super: the modifiers the hot key files name.
    if (record.value("CommandKey").toBool())
        keys.modifiers.push_back(code(0xffe3));
    if (record.value("OptionKey").toBool())
        keys.modifiers.push_back(code(0xffe9));
    if (record.value("ShiftKey").toBool())
        keys.modifiers.push_back(code(0xffe1));
    if (record.value("ControlKey").toBool())
        keys.modifiers.push_back(code(0xffeb));
    keys.key = code(mapping->keysym);
    xcb_key_symbols_free(symbols);
    if (!keys.key || std::count(keys.modifiers.begin(), keys.modifiers.end(), 0))
        return std::nullopt;
    return keys;
}

void fake(xcb_connection_t *c, uint8_t type, xcb_keycode_t key)
{
    xcb_test_fake_input(c, type, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
}

bool benchHotKey(Display &display, const std::string &viewer, int presses)
{
    // The device side: the virtual device on a pseudo-terminal, stamping
    // each CameraZoom frame as its reading loop receives it.
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<std::pair<QString, Clock::time_point>> frames;
    std::atomic<bool> startupDone{false};
    VizoSimulator sim;
    sim.eventTrace = [&](const QString &line) {
        const auto now = Clock::now();
        if (!line.startsWith(QLatin1String("host:")))
            return;
        const QString frame = line.mid(5).trimmed();
        if (frame.startsWith(QLatin1String("RequestFileList 2")))
            startupDone = true;
        if (frame.startsWith(QLatin1String("CameraZoom"))) {
            std::lock_guard lock(mutex);
            frames.emplace_back(frame.section(QLatin1Char(' '), 0, 1), now);
            arrived.notify_all();
        }
    };
    QString error;
    if (!sim.openPort(&error)) {
        std::printf("no virtual device: %s\n", qPrintable(error));
        return false;
    }
    sim.start();

    Viewer v;
    if (!v.start(viewer, {"--port", sim.portPath().toStdString()})) {
        std::printf("cannot start %s\n", viewer.c_str());
        return false;
    }
    if (!waitFor([&] { return startupDone.load(); }, 15000)) {
        std::printf("hot key: the viewer did not finish starting up\n");
        return false;
    }
    // Hot keys work while the viewer is the active application: give its
    // main window the focus as a window manager would.
    const xcb_window_t main = display.largestTopLevel();
    xcb_set_input_focus(display.c(), XCB_INPUT_FOCUS_POINTER_ROOT, main, XCB_CURRENT_TIME);
    xcb_flush(display.c());
    // There is no camera here: two seconds after start-up the viewer says
    // so in a message box, which holds the hot keys until it is closed.
    usleep(3000000);
    xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(display.c());
    xcb_keycode_t *ret = xcb_key_symbols_get_keycode(symbols, 0xff0d); // Return
    if (ret && ret[0]) {
        fake(display.c(), XCB_KEY_PRESS, ret[0]);
        fake(display.c(), XCB_KEY_RELEASE, ret[0]);
        xcb_flush(display.c());
    }
    std::free(ret);
    xcb_key_symbols_free(symbols);
    usleep(500000);
    // The box had the focus; with no window manager to hand it back, the
    // server reverts it to the root window, where no key is ours.
    xcb_set_input_focus(display.c(), XCB_INPUT_FOCUS_POINTER_ROOT, main, XCB_CURRENT_TIME);
    xcb_flush(display.c());
    usleep(300000);

    const std::optional<Keys> keys =
        keysFor(display.c(), VizoHotKeyMap::loadHotKeyFile(QStringLiteral("en"))
                                 .value(QStringLiteral("CameraMode.ZoomIn"))
                                 .toMap());
    if (!keys) {
        std::printf("hot key: the zoom-in key has no key code on this server\n");
        return false;
    }
    Stats latency;
    int missed = 0;
    for (int i = 0; i < presses; ++i) {
        for (xcb_keycode_t m : keys->modifiers)
            fake(display.c(), XCB_KEY_PRESS, m);
        xcb_flush(display.c());
        usleep(20000);
        size_t before;
        {
            std::lock_guard lock(mutex);
            before = frames.size();
        }
        // The press reaches the server when this round trip returns.
        fake(display.c(), XCB_KEY_PRESS, keys->key);
        std::free(xcb_get_input_focus_reply(display.c(), xcb_get_input_focus(display.c()), nullptr));
        const auto t0 = Clock::now();
        bool ok;
        Clock::time_point t1;
        {
            std::unique_lock lock(mutex);
            ok = arrived.wait_for(lock, std::chrono::seconds(2),
                                  [&] { return frames.size() > before; });
            if (ok)
                t1 = frames[before].second;
        }
        if (ok)
            latency.ms.push_back(std::max(
                0.0, std::chrono::duration<double, std::milli>(t1 - t0).count()));
        else
            ++missed;
        usleep(300000);
        fake(display.c(), XCB_KEY_RELEASE, keys->key);
        for (auto it = keys->modifiers.rbegin(); it != keys->modifiers.rend(); ++it)
            fake(display.c(), XCB_KEY_RELEASE, *it);
        xcb_flush(display.c());
        usleep(700000); // the stop command and its pacing pause
    }
    v.stop();
    sim.stop();
    std::printf("%-34s %8.2f %8.2f %5zu   target 2 ms: %s%s\n", "hot key to serial port (ms)",
                latency.at(0.5), latency.at(0.95), latency.ms.size(),
                !latency.ms.empty() && latency.at(0.95) <= 2.0 ? "met" : "MISSED",
                missed ? qPrintable(QStringLiteral(" (%1 presses sent nothing)").arg(missed))
                       : "");
    return !latency.ms.empty();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int runs = 10, presses = 15;
    std::string viewer = VIZO_VIEWER_PATH;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--runs")
            runs = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--presses")
            presses = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--viewer")
            viewer = argv[i + 1];
    }
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        static char dir[] = "/tmp/vizo-bench-XXXXXX";
        if (mkdtemp(dir))
            setenv("XDG_RUNTIME_DIR", dir, 1);
    }
    Display display;
    if (!display.open()) {
        std::printf("no X server in $DISPLAY\n");
        return 2;
    }
    std::printf("%-34s %8s %8s %5s\n", "vizo-viewer", "p50", "p95", "n");
    const bool started = benchStartup(display, viewer, runs);
    const bool keyed = benchHotKey(display, viewer, presses);
    return started && keyed ? 0 : 1;
}
