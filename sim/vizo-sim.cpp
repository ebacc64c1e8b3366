// vizo-sim: a virtual Vizo device on a pseudo-terminal. Prints "PORT <path>"
// first; a viewer opens that path as its serial port.
#include "protocol/VizoCatalogue.h"
#include "sim/VizoSimControlServer.h"
#include "sim/VizoSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <mutex>
#include <unistd.h>
#include <vector>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "vizo-sim: %s\n", qPrintable(message));
    return 2;
}

// Trace lines and control replies come from several threads.
void printLine(const QString &line)
{
    static std::mutex mutex;
    std::lock_guard lock(mutex);
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

// Says which argument the parser refused, as the user typed it (Qt's own
// message drops the dashes). Empty when no argument explains the failure.
QString explainParseError(const QStringList &arguments,
                          const std::vector<QCommandLineOption> &options)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        if (arg == QLatin1String("--"))
            break;
        if (!arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-"))
            continue;
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        const QString typed = eq > 0 ? arg.left(eq) : arg;
        QString name = typed;
        while (name.startsWith(QLatin1Char('-')))
            name.remove(0, 1);
        const QCommandLineOption *known = nullptr;
        for (const QCommandLineOption &option : options)
            if (option.names().contains(name))
                known = &option;
        if (!known)
            return QStringLiteral("unknown option \"%1\" (try --help)").arg(typed);
        const bool takesValue = !known->valueName().isEmpty();
        if (takesValue && eq < 0 && i + 1 >= arguments.size())
            return QStringLiteral("%1 needs a value").arg(typed);
        if (takesValue && eq < 0)
            ++i; // the next argument is this option's value
        if (!takesValue && eq > 0)
            return QStringLiteral("%1 takes no value").arg(typed);
    }
    return {};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vizo-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VIZO_VERSION));
    const QStringList arguments = app.arguments();
    // The usage names the program as it was called, without its folder.
    const QString program = QFileInfo(arguments.value(0, QStringLiteral("vizo-sim"))).fileName();

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral(
        "A virtual Vizo device. Prints \"PORT <path>\", waits for a viewer to open that\n"
        "pseudo-terminal, then answers it as the device would until the viewer closes."));
    const std::vector<QCommandLineOption> options{
        parser.addHelpOption(),
        parser.addVersionOption(),
        {QStringLiteral("edition"), QStringLiteral("Device edition: summit, ridge or valley."),
         QStringLiteral("name"), QStringLiteral("summit")},
        {QStringLiteral("region"), QStringLiteral("Region code (0-255)."), QStringLiteral("code"),
         QStringLiteral("1")},
        {QStringLiteral("images"), QStringLiteral("Stored images on the card."),
         QStringLiteral("n"), QStringLiteral("3")},
        {QStringLiteral("ocr-texts"), QStringLiteral("Stored OCR texts on the card."),
         QStringLiteral("n"), QStringLiteral("2")},
        {QStringLiteral("name-length"),
         QStringLiteral("Long file names of n characters (13-255) instead of IMG_0001.jpg."),
         QStringLiteral("n")},
        {QStringLiteral("baud"),
         QStringLiteral("Give the link its real timing: every byte costs its wire time at n baud\n"
                        "(115200 is the camera's), in both directions."),
         QStringLiteral("n")},
        {QStringLiteral("control"),
         QStringLiteral("Take control commands (\"help\" lists them) from a Unix socket at path,\n"
                        "or from standard input when path is -."),
         QStringLiteral("path")},
        {QStringLiteral("trace"), QStringLiteral("Print every frame in both directions.")},
    };
    // The help and version options are in the parser already.
    for (std::size_t i = 2; i < options.size(); ++i)
        parser.addOption(options[i]);
    if (!parser.parse(arguments)) {
        const QString explained = explainParseError(arguments, options);
        return fail(explained.isEmpty() ? parser.errorText() : explained);
    }
    // A QCoreApplication takes no options of Qt's own, so --help-all says the same.
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        QString help = parser.helpText();
        help.replace(QStringLiteral("Usage: ") + arguments.value(0),
                     QStringLiteral("Usage: ") + program);
        std::fputs(help.toUtf8().constData(), stdout);
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        printLine(QStringLiteral("vizo-sim " VIZO_VERSION));
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(
            QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first()));

    VizoSimState state;
    const QString editionGiven = parser.value(QStringLiteral("edition"));
    const QString edition = editionGiven.toLower();
    if (edition == QLatin1String("summit"))
        state.edition = 0;
    else if (edition == QLatin1String("valley"))
        state.edition = 1;
    else if (edition == QLatin1String("ridge"))
        state.edition = 2;
    else
        return fail(
            QStringLiteral("unknown edition: %1 (summit, ridge or valley)").arg(editionGiven));
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
    int baud = 0;
    if (!readCount(parser, QStringLiteral("baud"), 4000000, &baud)
        || (parser.isSet(QStringLiteral("baud")) && baud < 50))
        return fail(QStringLiteral("baud must be a number 50-4000000"));
    const QString controlPath = parser.value(QStringLiteral("control"));
    if (parser.isSet(QStringLiteral("control")) && controlPath.isEmpty())
        return fail(QStringLiteral("control needs a socket path, or - for standard input"));

    VizoSimulator simulator(state);
    simulator.setBaud(baud);
    VizoSimControlServer control([&simulator](const QString &line) { return simulator.control(line); });
    if (controlPath == QLatin1String("-")) {
        control.readFrom(STDIN_FILENO);
        control.eventReply = [](const QString &reply) {
            for (const QString &line : reply.split(QLatin1Char('\n')))
                printLine(QStringLiteral("control: ") + line);
        };
    } else if (!controlPath.isEmpty()) {
        QString why;
        if (!control.listen(controlPath, &why)) {
            fail(QStringLiteral("cannot listen for control commands: %1").arg(why));
            return 1;
        }
    }
    QString error;
    if (!simulator.openPort(&error)) {
        // Not the caller's mistake: 1, not the 2 of a bad command line.
        fail(QStringLiteral("cannot create a pseudo-terminal: %1").arg(error));
        return 1;
    }
    if (parser.isSet(QStringLiteral("trace")))
        simulator.eventTrace = printLine;
    printLine(QStringLiteral("PORT %1").arg(simulator.portPath()));
    control.start();
    simulator.run();
    control.stop();
    return 0;
}
