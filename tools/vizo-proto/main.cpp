// vizo-proto: frames for catalogue commands, and readable lines for captured
// streams. Exit status 0 on success, 1 when a decoded stream was damaged
// (bad CRC, truncated frame, skipped bytes), 2 on a bad command line or
// unreadable input.
#include "HexTextReader.h"
#include "protocol/VizoCatalogue.h"
#include "protocol/VizoFrame.h"
#include "protocol/VizoFrameDecoder.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int damagedStream = 1;
constexpr int badInput = 2;

const char usage[] =
    "Usage:\n"
    "  vizo-proto encode NAME [ARG...]\n"
    "      Print the frame of catalogue command NAME as hex bytes on one line.\n"
    "      ARGs are the command's parameters in payload order as decimal numbers,\n"
    "      or one text for SpeakText, ImageOpen, OcrOpenFile and SetWifiPassword.\n"
    "      DeleteFiles takes the paths and prints one line per frame.\n"
    "  vizo-proto decode --from-host|--from-device [--hex|--raw] [FILE]\n"
    "      Read frames from FILE or standard input and print one line per frame:\n"
    "      name, i/N for multi-frame transfers, parameters, crc=ok|bad. The input\n"
    "      is a captured byte stream or hex text as encode prints it; which one is\n"
    "      told from the first bytes unless --hex or --raw says. Exits 1 when the\n"
    "      stream held a bad CRC, a truncated frame or skipped bytes.\n"
    "  vizo-proto list\n"
    "      Print the catalogue: direction, name, fixed bytes and parameter widths.\n"
    "  vizo-proto --help\n"
    "  vizo-proto --version\n";

int fail(const QString &message)
{
    std::fprintf(stderr, "vizo-proto: %s\n", qPrintable(message));
    return badInput;
}

void printLine(const QString &line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
}

QString hexBytes(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

int encode(const QStringList &args)
{
    if (args.isEmpty())
        return fail(QStringLiteral("encode needs a command name"));
    const auto *entry = vizoCatalogueEntry(args.first());
    if (!entry)
        return fail(QStringLiteral("unknown command: %1").arg(args.first()));
    if (entry->direction != VizoDirection::HostToDevice)
        return fail(QStringLiteral("%1 is sent by the device, not the viewer").arg(args.first()));
    const auto payloads = vizoEncodeArguments(*entry, args.mid(1));
    if (!payloads)
        return fail(payloads.error());
    for (const QByteArray &payload : *payloads)
        printLine(hexBytes(VizoFrame::compose(payload)));
    return 0;
}

QString plural(qint64 n, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

// Why a decoded stream was not clean, or empty when it was.
QString damageReport(const VizoStreamTally &tally)
{
    QStringList parts;
    if (tally.badChecksums)
        parts << plural(tally.badChecksums, "frame with a bad CRC", "frames with a bad CRC");
    if (tally.badFraming)
        parts << plural(tally.badFraming, "frame with a bad fixed word",
                        "frames with a bad fixed word");
    if (tally.truncatedFrames)
        parts << plural(tally.truncatedFrames, "truncated frame", "truncated frames");
    if (tally.skippedBytes)
        parts << plural(tally.skippedBytes, "byte skipped", "bytes skipped");
    return parts.join(QStringLiteral(", "));
}

enum class InputForm { Detect, Hex, Raw };

int decode(const QStringList &args)
{
    std::optional<VizoDirection> direction;
    InputForm form = InputForm::Detect;
    QString path;
    for (const QString &arg : args) {
        if (arg == QLatin1String("--from-host"))
            direction = VizoDirection::HostToDevice;
        else if (arg == QLatin1String("--from-device"))
            direction = VizoDirection::DeviceToHost;
        else if (arg == QLatin1String("--hex"))
            form = InputForm::Hex;
        else if (arg == QLatin1String("--raw"))
            form = InputForm::Raw;
        else if (arg.startsWith(QLatin1Char('-')))
            return fail(QStringLiteral("unknown decode option: %1 (try --help)").arg(arg));
        else if (!path.isEmpty())
            return fail(QStringLiteral("decode reads one file at most"));
        else
            path = arg;
    }
    if (!direction)
        return fail(QStringLiteral("decode needs --from-host or --from-device"));

    int fd = STDIN_FILENO;
    const QString inputName = path.isEmpty() ? QStringLiteral("standard input") : path;
    if (!path.isEmpty()) {
        fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return fail(QStringLiteral("cannot read %1: %2")
                            .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    }
    auto closeInput = [fd] {
        if (fd != STDIN_FILENO)
            ::close(fd);
    };

    // Plain reads, so that lines appear while a live capture is piped in.
    VizoStreamDecoder decoder(*direction);
    HexTextReader hex;
    QByteArray undecided; // leading white space, until a byte tells the form
    QString error;
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int readError = errno;
            closeInput();
            return fail(QStringLiteral("cannot read %1: %2")
                            .arg(inputName, QString::fromLocal8Bit(std::strerror(readError))));
        }
        if (n == 0)
            break;
        QByteArray chunk(buffer, qsizetype(n));
        if (form == InputForm::Detect) {
            undecided.append(chunk);
            if (undecided.trimmed().isEmpty())
                continue;
            form = HexTextReader::looksLikeHexText(undecided) ? InputForm::Hex : InputForm::Raw;
            chunk = std::exchange(undecided, {});
        }
        QByteArray bytes;
        if (form == InputForm::Raw) {
            bytes = chunk;
        } else if (!hex.feed(chunk, &bytes, &error)) {
            closeInput();
            return fail(QStringLiteral("%1: %2 (--raw reads a byte stream)").arg(inputName, error));
        }
        for (const QString &line : decoder.feed(bytes))
            printLine(line);
        std::fflush(stdout);
    }
    closeInput();
    if (form == InputForm::Hex && !hex.finish(&error))
        return fail(QStringLiteral("%1: %2").arg(inputName, error));
    for (const QString &line : decoder.finish())
        printLine(line);
    std::fflush(stdout);
    const QString damage = damageReport(decoder.tally());
    if (!damage.isEmpty()) {
        std::fprintf(stderr, "vizo-proto: %s: %s\n", qPrintable(inputName), qPrintable(damage));
        return damagedStream;
    }
    return 0;
}

int list()
{
    for (const auto &e : vizoCatalogue()) {
        QStringList parts;
        parts << (e.direction == VizoDirection::HostToDevice ? QStringLiteral("host  ")
                                                             : QStringLiteral("device"));
        parts << QString::fromLatin1(e.name).leftJustified(24);
        QByteArray prefix;
        for (int i = 0; i < e.prefixSize; ++i)
            prefix.append(char(e.prefix[std::size_t(i)]));
        QString layout = hexBytes(prefix);
        for (int i = 0; i < e.paramCount; ++i)
            layout += QStringLiteral(" u%1").arg(8 * e.widths[std::size_t(i)]);
        if (e.hasTail())
            layout += QStringLiteral(" text");
        parts << layout;
        printLine(parts.join(QLatin1Char(' ')));
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.isEmpty())
        return fail(QStringLiteral("no command given (try --help)"));
    const QString command = args.takeFirst();
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (command == QLatin1String("--version")) {
        std::fputs("vizo-proto " VIZO_VERSION "\n", stdout);
        return 0;
    }
    if (command == QLatin1String("encode"))
        return encode(args);
    if (command == QLatin1String("decode"))
        return decode(args);
    if (command == QLatin1String("list"))
        return list();
    return fail(QStringLiteral("unknown command: %1 (try --help)").arg(command));
}
