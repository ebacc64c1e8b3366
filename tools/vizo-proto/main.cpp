// vizo-proto: frames for catalogue commands, and readable lines for captured
// streams. Exit status 0 on success, 2 on bad input.
#include "protocol/VizoCatalogue.h"
#include "protocol/VizoFrame.h"
#include "protocol/VizoFrameDecoder.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int badInput = 2;

const char usage[] =
    "Usage:\n"
    "  vizo-proto encode NAME [ARG...]\n"
    "      Print the frame of catalogue command NAME as hex bytes on one line.\n"
    "      ARGs are the command's parameters in payload order as decimal numbers,\n"
    "      or one text for SpeakText, ImageOpen, OcrOpenFile and SetWifiPassword.\n"
    "      DeleteFiles takes the paths and prints one line per frame.\n"
    "  vizo-proto decode --from-host|--from-device [FILE]\n"
    "      Read a raw byte stream from FILE or standard input and print one line\n"
    "      per frame: name, i/N for multi-frame transfers, parameters, crc=ok|bad.\n"
    "  vizo-proto list\n"
    "      Print the catalogue: direction, name, fixed bytes and parameter widths.\n"
    "  vizo-proto --help\n";

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

int decode(const QStringList &args)
{
    VizoDirection direction;
    if (args.value(0) == QLatin1String("--from-host"))
        direction = VizoDirection::HostToDevice;
    else if (args.value(0) == QLatin1String("--from-device"))
        direction = VizoDirection::DeviceToHost;
    else
        return fail(QStringLiteral("decode needs --from-host or --from-device"));
    if (args.size() > 2)
        return fail(QStringLiteral("decode reads one file at most"));

    int fd = STDIN_FILENO;
    if (args.size() == 2) {
        fd = ::open(QFile::encodeName(args[1]).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return fail(QStringLiteral("cannot read %1: %2")
                            .arg(args[1], QString::fromLocal8Bit(std::strerror(errno))));
    }

    // Plain reads, so that lines appear while a live capture is piped in.
    VizoStreamDecoder decoder(direction);
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            if (fd != STDIN_FILENO)
                ::close(fd);
            return fail(QStringLiteral("cannot read %1: %2")
                            .arg(args.size() == 2 ? args[1] : QStringLiteral("standard input"),
                                 QString::fromLocal8Bit(std::strerror(error))));
        }
        if (n == 0)
            break;
        for (const QString &line : decoder.feed(QByteArray(buffer, qsizetype(n))))
            printLine(line);
        std::fflush(stdout);
    }
    if (fd != STDIN_FILENO)
        ::close(fd);
    for (const QString &line : decoder.finish())
        printLine(line);
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
    if (command == QLatin1String("encode"))
        return encode(args);
    if (command == QLatin1String("decode"))
        return decode(args);
    if (command == QLatin1String("list"))
        return list();
    return fail(QStringLiteral("unknown command: %1 (try --help)").arg(command));
}
