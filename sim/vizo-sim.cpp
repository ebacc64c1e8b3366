// vizo-sim: a virtual Vizo device on a pseudo-terminal. Prints "PORT <path>"
// first; a viewer opens that path as its serial port.
#include "protocol/VizoCatalogue.h"
#include "sim/VizoSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "vizo-sim: %s\n", qPrintable(message));
    return 2;
}

void printLine(const QString &line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

bool readCount(const QCommandLineParser &parser, const QString &name, int max, int *out)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < 0 || value > max)
        return false;
    *out = value;
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vizo-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A virtual Vizo device. Prints \"PORT <path>\", waits for a viewer to open that\n"
        "pseudo-terminal, then answers it as the device would until the viewer closes."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("edition"), QStringLiteral("Device edition: summit, ridge or valley."),
                      QStringLiteral("name"), QStringLiteral("summit")});
    parser.addOption({QStringLiteral("region"), QStringLiteral("Region code (0-255)."), QStringLiteral("code"),
                      QStringLiteral("1")});
    parser.addOption({QStringLiteral("images"), QStringLiteral("Stored images on the card."), QStringLiteral("n"),
                      QStringLiteral("3")});
    parser.addOption({QStringLiteral("ocr-texts"), QStringLiteral("Stored OCR texts on the card."),
                      QStringLiteral("n"), QStringLiteral("2")});
    parser.addOption({QStringLiteral("name-length"),
                      QStringLiteral("Long file names of n characters (13-255) instead of IMG_0001.jpg."),
                      QStringLiteral("n")});
    parser.addOption({QStringLiteral("trace"), QStringLiteral("Print every frame in both directions.")});
    if (!parser.parse(app.arguments()))
        return fail(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        printLine(parser.helpText());
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first()));

    VizoSimState state;
    const QString edition = parser.value(QStringLiteral("edition")).toLower();
    if (edition == QLatin1String("summit"))
        state.edition = 0;
    else if (edition == QLatin1String("valley"))
        state.edition = 1;
    else if (edition == QLatin1String("ridge"))
        state.edition = 2;
    else
        return fail(QStringLiteral("unknown edition: %1 (summit, ridge or valley)").arg(edition));
    int images = 3;
    int ocrTexts = 2;
    if (!readCount(parser, QStringLiteral("region"), 255, &state.region))
        return fail(QStringLiteral("region must be a number 0-255"));
    if (!readCount(parser, QStringLiteral("images"), 100000, &images))
        return fail(QStringLiteral("images must be a number 0-100000"));
    if (!readCount(parser, QStringLiteral("ocr-texts"), 100000, &ocrTexts))
        return fail(QStringLiteral("ocr-texts must be a number 0-100000"));
    int nameLength = 0;
    if (!readCount(parser, QStringLiteral("name-length"), VizoSimState::maxNameLength, &nameLength)
        || (parser.isSet(QStringLiteral("name-length")) && nameLength < 13))
        return fail(QStringLiteral("name-length must be a number 13-255"));
    state.fillCard(images, ocrTexts, nameLength);

    VizoSimulator simulator(state);
    QString error;
    if (!simulator.openPort(&error))
        return fail(QStringLiteral("cannot create a pseudo-terminal: %1").arg(error));
    if (parser.isSet(QStringLiteral("trace")))
        simulator.eventTrace = printLine;
    printLine(QStringLiteral("PORT %1").arg(simulator.portPath()));
    simulator.run();
    return 0;
}
