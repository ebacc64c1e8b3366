#include "CommandLine.h"

namespace CommandLine {

int editionCodeFromName(const QString &name)
{
    if (name == QLatin1String("summit"))
        return 0;
    if (name == QLatin1String("valley"))
        return 1;
    if (name == QLatin1String("ridge"))
        return 2;
    return -1;
}

QString usage()
{
    return QStringLiteral(
        "Usage: vizo-viewer [--port PATH] [--simulate [--edition summit|ridge|valley] [--baud N] [--control PATH]]\n"
        "                   [--camera NAME] [--exit-on-unplug] [--verbose]\n"
        "\n"
        "Shows the picture of a Vizo reading camera and drives it from the keyboard and mouse.\n"
        "\n"
        "Options:\n"
        "  --port PATH        use this serial device instead of looking for the camera's port\n"
        "  --simulate         run a virtual camera inside the viewer (no device needed)\n"
        "  --edition NAME     edition of the virtual camera: summit (default), ridge or valley\n"
        "  --images N         images on the virtual camera's card (default 12)\n"
        "  --ocr-texts N      recognised texts on the virtual camera's card (default 5)\n"
        "  --name-length N    give the virtual card's files long names of N characters (13-255)\n"
        "  --baud N           give the virtual camera's link its real timing at N baud (the camera: 115200)\n"
        "  --control PATH     take the virtual camera's control commands from a Unix socket at PATH\n"
        "  --camera NAME      name of the video capture device (default \"FX3\")\n"
        "  --exit-on-unplug   end when the camera goes away instead of waiting for it\n"
        "  --list-hotkeys     print every hot key with what it does, grouped by mode\n"
        "  --verbose          log the link set-up, hot keys and other diagnostics on standard error\n"
        "  --platform NAME    Qt's display back end: wayland, or xcb for X11 (XWayland in a Wayland\n"
        "                     session); the desktop's own by default\n"
        "  --help             show this text\n"
        "  --version          print the program's version\n");
}

QString versionText()
{
    return QStringLiteral("vizo-viewer " VIZO_VERSION "\n");
}

CommandLineOptions parse(const QStringList &arguments)
{
    CommandLineOptions options;
    bool editionGiven = false;
    QString cardOption; // the last card option given, which needs --simulate
    bool portGiven = false;
    auto fail = [&options](const QString &message) {
        options.error = message;
        return options;
    };

    // arguments[0] is the program itself.
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString arg = arguments.at(i);
        QString value;
        bool hasInlineValue = false;
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        if (arg.startsWith(QLatin1String("--")) && eq > 0) {
            value = arg.mid(eq + 1);
            arg = arg.left(eq);
            hasInlineValue = true;
        }
        auto takeValue = [&](QString *out) {
            if (hasInlineValue) {
                *out = value;
                return !out->isEmpty();
            }
            if (i + 1 >= arguments.size())
                return false;
            *out = arguments.at(++i);
            return !out->isEmpty();
        };

        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            if (hasInlineValue)
                return fail(QStringLiteral("--help takes no value"));
            options.help = true;
        } else if (arg == QLatin1String("--version")) {
            if (hasInlineValue)
                return fail(QStringLiteral("--version takes no value"));
            options.version = true;
        } else if (arg == QLatin1String("--list-hotkeys")) {
            if (hasInlineValue)
                return fail(QStringLiteral("--list-hotkeys takes no value"));
            options.listHotKeys = true;
        } else if (arg == QLatin1String("--verbose")) {
            if (hasInlineValue)
                return fail(QStringLiteral("--verbose takes no value"));
            options.verbose = true;
        } else if (arg == QLatin1String("--exit-on-unplug")) {
            if (hasInlineValue)
                return fail(QStringLiteral("--exit-on-unplug takes no value"));
            options.exitOnUnplug = true;
        } else if (arg == QLatin1String("--simulate")) {
            if (hasInlineValue)
                return fail(QStringLiteral("--simulate takes no value"));
            options.simulate = true;
        } else if (arg == QLatin1String("--port")) {
            if (!takeValue(&options.port))
                return fail(QStringLiteral("--port needs a path"));
            portGiven = true;
        } else if (arg == QLatin1String("--camera")) {
            if (!takeValue(&options.cameraName))
                return fail(QStringLiteral("--camera needs a name"));
        } else if (arg == QLatin1String("--edition")) {
            QString name;
            if (!takeValue(&name))
                return fail(QStringLiteral("--edition needs summit, ridge or valley"));
            const int code = editionCodeFromName(name);
            if (code < 0)
                return fail(QStringLiteral("unknown edition \"%1\" (summit, ridge or valley)").arg(name));
            options.simulatedEdition = code;
            editionGiven = true;
        } else if (arg == QLatin1String("--control")) {
            if (!takeValue(&options.simulatedControl))
                return fail(QStringLiteral("--control needs a socket path"));
            cardOption = arg;
        } else if (arg == QLatin1String("--baud")) {
            QString text;
            const bool given = takeValue(&text);
            bool number = false;
            const int n = text.toInt(&number);
            if (!given || !number || n < 50 || n > 4000000)
                return fail(QStringLiteral("--baud needs a number 50-4000000"));
            options.simulatedBaud = n;
            cardOption = arg;
        } else if (arg == QLatin1String("--images") || arg == QLatin1String("--ocr-texts")
                   || arg == QLatin1String("--name-length")) {
            const bool names = arg == QLatin1String("--name-length");
            const int min = names ? 13 : 0;
            const int max = names ? 255 : 100000;
            QString text;
            const bool given = takeValue(&text);
            bool number = false;
            const int n = text.toInt(&number);
            if (!given || !number || n < min || n > max)
                return fail(QStringLiteral("%1 needs a number %2-%3").arg(arg).arg(min).arg(max));
            int *target = names ? &options.simulatedNameLength
                                : arg == QLatin1String("--images") ? &options.simulatedImages
                                                                   : &options.simulatedOcrTexts;
            *target = n;
            cardOption = arg;
        } else if (arg == QLatin1String("--platform") || arg == QLatin1String("-platform")) {
            // Qt reads it from the command line itself, and only as two
            // words.
            if (hasInlineValue)
                return fail(QStringLiteral("--platform takes its name as the next word: --platform %1").arg(value));
            if (!takeValue(&options.platform))
                return fail(QStringLiteral("--platform needs a name (wayland or xcb)"));
        } else {
            return fail(QStringLiteral("unknown option \"%1\"").arg(arguments.at(i)));
        }
    }

    if (editionGiven && !options.simulate)
        return fail(QStringLiteral("--edition only goes with --simulate"));
    if (!cardOption.isEmpty() && !options.simulate)
        return fail(QStringLiteral("%1 only goes with --simulate").arg(cardOption));
    if (portGiven && options.simulate)
        return fail(QStringLiteral("--port and --simulate exclude each other"));
    return options;
}

} // namespace CommandLine
