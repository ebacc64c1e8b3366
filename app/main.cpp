// vizo-viewer: parses the command line and hands over to the application.
#include "core/CommandLine.h"

#include <QApplication>
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
    QApplication app(argc, argv);
    return 0;
}
