// vizo-viewer: parses the command line and hands over to the application.
#include "core/AppDelegate.h"
#include "core/CommandLine.h"
#include "core/TerminationSignals.h"
#include "input/VizoHotKeyMap.h"
#include "input/VizoInputArming.h"
#include "pages/VizoPages.h"

#include <memory>

#include <QApplication>
#include <QLoggingCategory>
#include <QTimer>

#include <cstdio>

namespace {
// A platform was chosen, or a display server is named in the environment.
// A platform given on the command line needs its own display server.
bool hasDisplay(const QString &platform)
{
    if (platform.startsWith(QLatin1String("xcb")))
        return !qEnvironmentVariableIsEmpty("DISPLAY");
    if (platform.startsWith(QLatin1String("wayland")))
        return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (!platform.isEmpty())
        return true;
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        if (!qEnvironmentVariableIsEmpty(name))
            return true;
    }
    return false;
}
} // namespace

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLineOptions options = CommandLine::parse(arguments);
    if (!options.ok()) {
        std::fprintf(stderr, "vizo-viewer: %s\n\n%s", qPrintable(options.error), qPrintable(CommandLine::usage()));
        return 2;
    }
    if (options.help) {
        std::fputs(qPrintable(CommandLine::usage()), stdout);
        return 0;
    }
    if (options.version) {
        std::fputs(qPrintable(CommandLine::versionText()), stdout);
        return 0;
    }
    if (options.listHotKeys) {
        std::fputs(qPrintable(VizoHotKeyMap::listHotKeysText()), stdout);
        return 0;
    }

    // Qt aborts without a display; say what to do instead.
    if (!hasDisplay(options.platform)) {
        std::fputs("vizo-viewer: no display: run it in a desktop session, or under xvfb-run\n", stderr);
        return 2;
    }

    // Diagnostics are quiet unless asked for (QT_LOGGING_RULES still wins).
    if (options.verbose)
        QLoggingCategory::setFilterRules(QStringLiteral("vizo.*=true"));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vizo-viewer"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vizo Viewer"));
    QApplication::setDesktopFileName(QStringLiteral("org.vizo.viewer"));

    AppDelegate delegate(options);
    auto arming = std::make_unique<VizoInputArming>();
    // The colour-slot hot key and gesture open the page the menu opens.
    arming->setColorSlotPageOpener(
        [&delegate](int view, int slotIndex) { VizoPages::doColorSlotColorSetting(delegate, view, slotIndex); });
    delegate.setInputArming(std::move(arming));
    TerminationSignals stopSignals([&delegate] { delegate.terminate(0); });
    // Launch runs inside the event loop, so its modal splash and a fatal
    // error's quit behave as in any later modal loop.
    int exitCode = -1;
    QTimer::singleShot(0, &delegate, [&delegate, &exitCode] {
        if (!delegate.applicationDidFinishLaunching()) {
            // Another copy runs: 0 once it was raised.
            exitCode = delegate.launchExitCode();
            QCoreApplication::exit(exitCode);
        }
    });
    const int rc = app.exec();
    return exitCode >= 0 ? exitCode : rc;
}
