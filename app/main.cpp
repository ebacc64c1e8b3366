// vizo-viewer: parses the command line and hands over to the application.
#include "core/AppDelegate.h"
#include "core/CommandLine.h"
#include "core/TerminationSignals.h"
#include "input/VizoHotKeyMap.h"
#include "input/VizoInputArming.h"
#include "pages/VizoPages.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QTimer>

#include <cstdio>

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
    if (options.listHotKeys) {
        std::fputs(qPrintable(VizoHotKeyMap::listHotKeysText()), stdout);
        return 0;
    }

    // Diagnostics are quiet unless asked for (QT_LOGGING_RULES still wins).
    if (options.verbose)
        QLoggingCategory::setFilterRules(QStringLiteral("vizo.*=true"));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vizo-viewer"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vizo Viewer"));
    QApplication::setDesktopFileName(QStringLiteral("vizo-viewer"));

    AppDelegate delegate(options);
    delegate.setInputArming(std::make_unique<VizoInputArming>());
    VizoPages::installColorSlotPageOpener();
    TerminationSignals stopSignals([&delegate] { delegate.terminate(0); });
    // Launch runs inside the event loop, so its modal splash and a fatal
    // error's quit behave as in any later modal loop.
    int exitCode = 0;
    QTimer::singleShot(0, &delegate, [&delegate, &exitCode] {
        if (!delegate.applicationDidFinishLaunching()) {
            exitCode = 1;
            QCoreApplication::exit(1);
        }
    });
    const int rc = app.exec();
    return exitCode ? exitCode : rc;
}
