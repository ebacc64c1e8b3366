// The widest surface the device reaches: bytes as the reading thread gets
// them, through the stream framer into the event dispatcher, whose posted
// effects then run on the main thread against the settings model and the
// delegate's flags. No window: the offscreen platform is enough. Message
// boxes the reports raise are answered at once, as a user would.
#include "core/AppDelegate.h"
#include "kit/ModalWindowController.h"
#include "connection/VizoEventDispatcher.h"
#include "link/VizoStreamFramer.h"
#include "protocol/VizoFrame.h"

#include <bramble/BrPacketAssembler.h>

#include <QApplication>
#include <QLoggingCategory>
#include <QTemporaryFile>
#include <QTimer>

#include <cstddef>
#include <cstdint>

namespace {

AppDelegate *makeDelegate()
{
    static int argc = 1;
    static char name[] = "fuzz_device_stream";
    static char *argv[] = {name, nullptr};
    // Reports raise boxes that cover the screen, and painting them on
    // Qt's default 800x600 offscreen screen took most of the run: a small
    // screen keeps every path and drops the cost.
    static QTemporaryFile screens;
    if (screens.open()) {
        screens.write(R"({"screens": [{"name": "fuzz", "x": 0, "y": 0, "width": 160, "height": 120,
                          "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        screens.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toLocal8Bit());
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Damaged input is what a fuzzer sends: the warnings it earns would
    // only slow the run down.
    QLoggingCategory::setFilterRules(QStringLiteral("*=false"));
    if (!QCoreApplication::instance())
        new QApplication(argc, argv);
    // A device that says it is leaving ends the run here: waiting for the
    // camera to come back would hold the fuzzer in the waiting splash.
    CommandLineOptions options;
    options.exitOnUnplug = true;
    auto *app = new AppDelegate(options);
    app->setupModel();
    app->setPacketWriter([](const QByteArray &) {});
    app->setCloseAllUIPauseMs(0);
    app->setTerminateHandler([] {});

    auto *answer = new QTimer(app);
    QObject::connect(answer, &QTimer::timeout, app, [app] {
        if (auto *box = qobject_cast<ModalWindowController *>(app->stackUI().top()))
            if (box->isRunningModal())
                box->onReturnKeyDown();
    });
    answer->start(0);
    return app;
}

void runPostedWork(AppDelegate *app)
{
    for (int round = 0; round < 2; ++round) {
        app->eventDispatcher()->waitForParsers();
        QCoreApplication::processEvents();
    }
    // A running event loop deletes closed boxes here; without it every
    // input would leave its windows behind.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static AppDelegate *app = makeDelegate();
    BrPacketAssembler assembler{unsigned(VizoFrame::headerSize)};
    VizoStreamFramer framer(assembler);
    framer.eventFrame = [](const VizoReceivedFrame &frame) {
        app->eventDispatcher()->onPacket(frame.payload, frame.count, frame.index);
    };
    // The link reads in chunks of any size: the first byte chooses a cut.
    const std::size_t cut = size ? data[0] % (size + 1) : 0;
    framer.feed(data, cut);
    framer.feed(data + cut, size - cut);
    runPostedWork(app);
    return 0;
}
