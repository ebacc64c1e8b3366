// The built vizo-proto, run as a user runs it.
#include "protocol/VizoCommands.h"
#include "protocol/VizoFrame.h"

#include <QProcess>
#include <QTemporaryFile>

#include <gtest/gtest.h>

namespace {

struct ToolRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun vizoProto(const QStringList &args, const QByteArray &input = {})
{
    const QString binary = qEnvironmentVariable("VIZO_BINARY_DIR") + QStringLiteral("/tools/vizo-proto");
    QProcess p;
    p.start(binary, args);
    if (!p.waitForStarted())
        return {};
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(10000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST(VizoProtoTool, EncodePrintsTheFrameAsHex)
{
    auto r = vizoProto({QStringLiteral("encode"), QStringLiteral("MenuOpened")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QStringLiteral("fc fc 02 01 01 00 01 00 02 00 24 00 10 90 fd fd\n"));

    r = vizoProto({QStringLiteral("encode"), QStringLiteral("SetContrast"), QStringLiteral("3"), QStringLiteral("39")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.trimmed(),
              QString::fromLatin1(VizoFrame::compose(VizoCmd::SetContrast(3, 39).payload()).toHex(' ')));

    r = vizoProto({QStringLiteral("encode"), QStringLiteral("SpeakText"), QStringLiteral("Hallo Welt")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.trimmed(), QString::fromLatin1(VizoFrame::compose(
                                   VizoCmd::SpeakText(QStringLiteral("Hallo Welt")).payload()).toHex(' ')));
}

TEST(VizoProtoTool, BadInputIsOneLineOnStandardErrorAndExitTwo)
{
    const QList<QStringList> cases{
        {QStringLiteral("encode"), QStringLiteral("NoSuchCommand")},
        {QStringLiteral("encode"), QStringLiteral("CameraZoom")},
        {QStringLiteral("encode"), QStringLiteral("CameraZoom"), QStringLiteral("1"), QStringLiteral("2")},
        {QStringLiteral("encode"), QStringLiteral("CameraZoom"), QStringLiteral("300")},
        {QStringLiteral("encode"), QStringLiteral("CameraZoom"), QStringLiteral("one")},
        {QStringLiteral("encode"), QStringLiteral("SetWifiPassword"), QStringLiteral("1234567890123")},
        {QStringLiteral("encode"), QStringLiteral("ImageOpen"), QString(65, QLatin1Char('p'))},
        {QStringLiteral("encode"), QStringLiteral("DeviceVersion"), QStringLiteral("1")},
        {QStringLiteral("decode"), QStringLiteral("--from-host"), QStringLiteral("/nonexistent/capture.bin")},
        {QStringLiteral("decode")},
        {QStringLiteral("frobnicate")},
        {},
    };
    for (const QStringList &args : cases) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        const ToolRun r = vizoProto(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
    }
    EXPECT_TRUE(vizoProto({QStringLiteral("encode"), QStringLiteral("SetWifiPassword"), QStringLiteral("1234567890123")})
                    .err.contains(QStringLiteral("Passwords is to big")));
}

TEST(VizoProtoTool, DecodeReadsStandardInputOrAFile)
{
    QByteArray stream = QByteArray("\x00\x01", 2) + VizoFrame::compose(VizoCmd::CameraZoom(2).payload());
    QByteArray optionFrame = VizoFrame::compose(QByteArray::fromHex("3104") + "Zoom=3", 2, 2);
    QByteArray bad = VizoFrame::compose(QByteArray::fromHex("2608 01"));
    bad[11] = 0x09; // a different code than the CRC was made for
    const QByteArray deviceStream = VizoFrame::compose(QByteArray::fromHex("3104"), 2, 1) + optionFrame + bad
                                    + VizoFrame::compose(QByteArray::fromHex("2777"));

    ToolRun r = vizoProto({QStringLiteral("decode"), QStringLiteral("--from-host")}, stream);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, QStringLiteral("skipped 2 bytes\nCameraZoom 2 crc=ok\n"));
    EXPECT_EQ(r.err, QStringLiteral("vizo-proto: standard input: 2 bytes skipped\n"));

    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    file.write(deviceStream);
    file.flush();
    r = vizoProto({QStringLiteral("decode"), QStringLiteral("--from-device"), file.fileName()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.endsWith(QStringLiteral(": 1 frame with a bad CRC\n"))) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("OptionFileData 1/2 \"\" crc=ok\n"
                                    "OptionFileData 2/2 \"Zoom=3\" crc=ok\n"
                                    "ContrastChanged 1 crc=bad\n"
                                    "unknown 27 77 crc=ok\n"));
}

TEST(VizoProtoTool, EncodedTextDecodesBackAndDamageIsAnError)
{
    const ToolRun enc = vizoProto({QStringLiteral("encode"), QStringLiteral("DeleteFiles"), QStringLiteral("Image/a b.jpg"),
                                   QStringLiteral("Image/ü.jpg")});
    ASSERT_EQ(enc.exitCode, 0);
    const QString decoded = QStringLiteral("DeleteFiles 2 \"Image/a b.jpg::Image/ü.jpg\" crc=ok\n");
    const QStringList fromHost{QStringLiteral("decode"), QStringLiteral("--from-host")};
    // The hex text as encode prints it, as xxd -p spells it, and as raw bytes.
    for (const QByteArray &input : {enc.out.toLatin1(), enc.out.toLatin1().replace(' ', ""),
                                    QByteArray::fromHex(enc.out.toLatin1())}) {
        const ToolRun dec = vizoProto(fromHost, input);
        EXPECT_EQ(dec.exitCode, 0) << dec.err.toStdString();
        EXPECT_EQ(dec.out, decoded);
    }
    EXPECT_EQ(vizoProto(fromHost + QStringList{QStringLiteral("--hex")}, enc.out.toLatin1()).out, decoded);

    // A frame cut short, in either form, says so and fails.
    const QByteArray frame = VizoFrame::compose(VizoCmd::CameraZoom(1).payload());
    for (const QByteArray &input : {frame.left(12), frame.left(12).toHex(' ') + "\n"}) {
        const ToolRun r = vizoProto(fromHost, input);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, QStringLiteral("truncated frame (12 of 17 bytes)\n"));
        EXPECT_TRUE(r.err.endsWith(QStringLiteral(": 1 truncated frame\n"))) << r.err.toStdString();
    }

    // Text that is not hex where hex was asked for or detected is bad input.
    for (const auto &[args, input] : {std::pair{fromHost, QByteArray("fc f c\n")},
                                      std::pair{fromHost + QStringList{QStringLiteral("--hex")}, frame}}) {
        const ToolRun r = vizoProto(args, input);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
    }
    // --raw takes hex digits for bytes, which are no frame.
    EXPECT_EQ(vizoProto(fromHost + QStringList{QStringLiteral("--raw")}, enc.out.toLatin1()).exitCode, 1);

    const ToolRun help = vizoProto({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("decode --from-host|--from-device")));
}
