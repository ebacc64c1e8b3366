// The channel and the virtual device talking over a real pseudo-terminal.
#include "TestWait.h"
#include "link/VizoProtocolChannel.h"
#include "link/VizoTtyPort.h"
#include "protocol/VizoCommands.h"
#include "protocol/VizoFrame.h"
#include "protocol/VizoReports.h"
#include "settings/VizoColorMode.h"
#include "settings/VizoColorSlot.h"
#include "settings/VizoConfigParser.h"
#include "settings/VizoOCR.h"
#include "settings/VizoOptions.h"
#include "settings/VizoSettings.h"
#include "sim/VizoSimulator.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <utility>

#include <unistd.h>

namespace {

struct Host
{
    VizoProtocolChannel channel;
    VizoSerialPort *port = nullptr; // for frames that skip the channel's pacing
    std::mutex mutex;
    QList<QByteArray> reports;
    QByteArray optionFile;
    bool optionFileComplete = false;
    QByteArray fileList;
    bool fileListComplete = false;
    QStringList failures;

    Host()
    {
        channel.eventLinkFailure = [this](const QString &m) { failures << m; };
        channel.eventPacket = [this](const QByteArray &payload, std::uint16_t count,
                                     std::uint16_t index) {
            std::lock_guard lock(mutex);
            const int key = vizoPayloadKey(payload);
            const bool options = key == VizoReport::OptionFileData.key();
            if (options || key == VizoReport::FileListData.key()) {
                QByteArray &data = options ? optionFile : fileList;
                if (index == 1)
                    data.clear();
                else
                    data += payload.mid(options ? VizoReport::optionFileDataOffset
                                                : VizoReport::fileListDataOffset);
                (options ? optionFileComplete : fileListComplete) = index > 1 && index == count;
                return;
            }
            reports << payload;
        };
    }
    // Opens the port itself, so that bulk frames can go out unpaced.
    bool open(const QString &path)
    {
        auto tty = VizoTtyPort::open(path);
        port = tty.get();
        return tty && channel.open(std::move(tty));
    }
    void sendUnpaced(const QByteArray &payload)
    {
        const QByteArray frame = VizoFrame::compose(payload);
        port->write(frame.constData(), std::size_t(frame.size()));
    }
    qsizetype reportCount()
    {
        std::lock_guard lock(mutex);
        return reports.size();
    }
    QList<QByteArray> takeReports()
    {
        std::lock_guard lock(mutex);
        return std::exchange(reports, {});
    }
    // Asks for the option file and waits for all of it.
    VizoOptionFileData requestOptionFile()
    {
        {
            std::lock_guard lock(mutex);
            optionFileComplete = false;
        }
        sendUnpaced(VizoCmd::RequestOptionFile().payload());
        VizoOptionFileData pairs;
        if (!waitFor([&] {
                std::lock_guard lock(mutex);
                return optionFileComplete;
            }))
            return pairs;
        std::lock_guard lock(mutex);
        VizoConfigParser::parseData(optionFile + '\0',
                                    [&](const VizoOptionFileData &d) { pairs = d; });
        return pairs;
    }
    QStringList requestFileList(std::uint8_t kind)
    {
        {
            std::lock_guard lock(mutex);
            fileListComplete = false;
        }
        sendUnpaced(VizoCmd::RequestFileList(kind).payload());
        if (!waitFor([&] {
                std::lock_guard lock(mutex);
                return fileListComplete;
            }))
            return {QStringLiteral("(no list)")};
        std::lock_guard lock(mutex);
        QStringList names = QString::fromUtf8(fileList).split(QLatin1Char('\n'));
        names.removeAll(QString());
        return names;
    }
    // The next report, waiting for it.
    QByteArray nextReport()
    {
        waitFor([&] { return reportCount() > 0; });
        std::lock_guard lock(mutex);
        return reports.isEmpty() ? QByteArray() : reports.takeFirst();
    }
};

struct RunningSim
{
    // The device's thread traces into these until it ends: they go last.
    std::mutex mutex;
    QStringList trace;
    VizoSimulator sim;
    // Goes first, so that its reading ends before the device hangs up (a
    // hang-up would post a failure to a host that is gone).
    Host host;

    explicit RunningSim(VizoSimState state) : sim(std::move(state))
    {
        sim.eventTrace = [this](const QString &line) {
            std::lock_guard lock(mutex);
            trace << line;
        };
    }
    bool start()
    {
        if (!sim.openPort())
            return false;
        sim.start();
        if (!host.open(sim.portPath()))
            return false;
        host.channel.startRead();
        // DeviceVersion and RegionCode first.
        if (!waitFor([&] { return host.reportCount() >= 2; }))
            return false;
        host.takeReports();
        return true;
    }
    bool traced(const QString &line)
    {
        std::lock_guard lock(mutex);
        return trace.contains(line);
    }
};

} // namespace

TEST(SimOverPty, StartUpReportsEchoesAndAMultiFrameOptionFile)
{
    VizoSimState state;
    state.edition = 1;
    state.region = 2;
    VizoSimulator sim(state);
    QString error;
    ASSERT_TRUE(sim.openPort(&error)) << error.toStdString();
    std::atomic<bool> ended{false};
    sim.eventEnded = [&] { ended = true; };
    sim.start();

    Host host;
    ASSERT_TRUE(host.channel.open(sim.portPath()));
    host.channel.startRead();
    ASSERT_TRUE(waitFor([&] { return host.reportCount() >= 2; }));
    {
        std::lock_guard lock(host.mutex);
        EXPECT_EQ(host.reports.mid(0, 2), (QList<QByteArray>{QByteArray::fromHex("260801"),
                                                             QByteArray::fromHex("261202")}));
    }

    host.channel.writeVizoPacket(VizoCmd::SetTtsVolume(11));
    host.channel.writeVizoPacket(VizoCmd::RequestOptionFile());
    ASSERT_TRUE(waitFor([&] {
        std::lock_guard lock(host.mutex);
        return host.optionFileComplete;
    }));
    VizoOptionFileData pairs;
    {
        std::lock_guard lock(host.mutex);
        EXPECT_EQ(host.reports.value(2), QByteArray::fromHex("260d0b"));
        EXPECT_EQ(host.optionFile, sim.device().optionFileText());
        VizoConfigParser::parseData(host.optionFile + '\0',
                                    [&](const VizoOptionFileData &d) { pairs = d; });
    }
    EXPECT_EQ(pairs.value(QStringLiteral("TTSVolume")), QStringLiteral("11"));
    EXPECT_EQ(sim.device().state().ttsVolume, 11);

    // HostClosing ends the device.
    host.channel.writeVizoPacket(VizoCmd::HostClosing());
    EXPECT_TRUE(waitFor([&] { return ended.load(); }));
    EXPECT_TRUE(host.failures.isEmpty());
}

TEST(SimOverPty, DeviceEndsWhenTheHostClosesThePortAndTheHostNoticesAVanishedDevice)
{
    {
        VizoSimulator sim;
        ASSERT_TRUE(sim.openPort());
        std::atomic<bool> ended{false};
        sim.eventEnded = [&] { ended = true; };
        sim.start();
        {
            Host host;
            ASSERT_TRUE(host.channel.open(sim.portPath()));
            ASSERT_TRUE(waitFor([&] { return sim.hostConnected(); }));
        }
        EXPECT_TRUE(waitFor([&] { return ended.load(); }));
    }
    {
        auto sim = std::make_unique<VizoSimulator>();
        ASSERT_TRUE(sim->openPort());
        sim->start();
        Host host;
        ASSERT_TRUE(host.channel.open(sim->portPath()));
        host.channel.startRead();
        ASSERT_TRUE(waitFor([&] { return host.reportCount() >= 2; }));
        sim.reset(); // the device goes away
        EXPECT_TRUE(waitFor([&] { return !host.failures.isEmpty(); }));
        EXPECT_EQ(host.failures.value(0), VizoProtocolChannel::disconnectedMessage());
    }
}

TEST(SimOverPty, SettingsSentComeBackInTheNextOptionFileAndTheViewerReadsThem)
{
    RunningSim running{VizoSimState{}};
    ASSERT_TRUE(running.start());
    Host &host = running.host;
    using namespace VizoCmd;
    const QList<QByteArray> commands{
        SetColorSlot(colorSlotCode(1, 2), 4, 3).payload(),  // near slot 2: red on white
        SetColorSlot(colorSlotCode(0, 7), 9, 10).payload(), // distance slot 7 enabled
        SetContrast(contrastTarget(1, 3), 30).payload(),
        SetMarkerType(2, 1).payload(),
        MarkerAdjust(MarkerBegin).payload(),
        MarkerAdjust(MarkerStepForward).payload(),
        MarkerAdjust(MarkerConfirm).payload(),
        SetFocusLock(1).payload(),
        SetVoiceGuide(0).payload(),
        SetJoystickSensitivity(3).payload(),
        SetAutoScrollSpeed(8).payload(),
        SetAutoScrollDirection(1).payload(),
        SetOcrFieldMode(1).payload(),
        SetOcrViewMode(3).payload(),
        SetTtsType(1).payload(),
        SetTtsSpeed(9).payload(),
        SetTtsPitch(12).payload(),
        SetOcrDeskew(1).payload(),
        SetOcrPerspective(1).payload(),
        SetOcrLanguages(0x6).payload(),
        SetWifiPassword::fromText(QStringLiteral("Qz8w7x6v"))->payload(),
        QByteArray::fromHex("0900"),         // an empty password is refused
        SetJoystickSensitivity(9).payload(), // out of range: refused
    };
    for (const QByteArray &payload : commands)
        host.sendUnpaced(payload);

    VizoSettings viewer;
    viewer.applyOptionFileData(host.requestOptionFile());
    const VizoOptions *o = viewer.options();
    const VizoOCR *ocr = viewer.ocr();
    EXPECT_EQ(o->colorModeForNear()->slot(2)->textColor(), 4);
    EXPECT_EQ(o->colorModeForNear()->slot(2)->bgColor(), 3);
    EXPECT_EQ(o->colorModeForDistance()->slot(7)->textColor(), 9);
    EXPECT_EQ(o->colorModeForDistance()->slot(7)->bgColor(), 10);
    EXPECT_EQ(o->contrastForNear(), 30);
    EXPECT_EQ(o->markerModeForNear(), 1);
    EXPECT_TRUE(o->focusLock());
    EXPECT_FALSE(o->voiceGuide());
    EXPECT_EQ(o->joystickSensitivity(), 3);
    EXPECT_EQ(o->autoscrollSpeed(), 8);
    EXPECT_EQ(o->autoscrollDirection(), 1);
    EXPECT_EQ(o->passwords(), QStringLiteral("Qz8w7x6v"));
    EXPECT_EQ(ocr->fieldMode(), 1);
    EXPECT_EQ(ocr->viewMode(), 3);
    EXPECT_EQ(ocr->typeOfTTS(), 1);
    EXPECT_EQ(ocr->speedOfTTS(), 9);
    EXPECT_EQ(ocr->pitchOfTTS(), 12);
    EXPECT_EQ(ocr->deskew(), 1);
    EXPECT_EQ(ocr->perspective(), 1);
    EXPECT_EQ(ocr->language(), 0x6u);
    EXPECT_EQ(running.sim.device().state().markerPosition[VizoSimState::Near], 1);
    EXPECT_TRUE(running.traced(QStringLiteral("note:   joystick sensitivity 9 refused (0..3)")));

    // Battery in the device's language; a language switch changes it, the
    // language and the recognition language it reports.
    host.takeReports();
    host.sendUnpaced(RequestBatteryInfo().payload());
    EXPECT_EQ(host.nextReport(), QByteArray::fromHex("2504") + "80% charged");
    host.sendUnpaced(SetLanguage(2).payload());
    host.sendUnpaced(RequestBatteryInfo().payload());
    EXPECT_EQ(host.nextReport(),
              QByteArray::fromHex("2504") + QStringLiteral("chargée à 80 %").toUtf8());
    VizoOptionFileData pairs = host.requestOptionFile();
    EXPECT_EQ(pairs.value(QStringLiteral("Language")), QStringLiteral("2"));
    EXPECT_EQ(pairs.value(QStringLiteral("OCRLanguage")),
              QStringLiteral("4")); // French's recognition bit
    EXPECT_EQ(pairs.value(QStringLiteral("Info_Battery")), QStringLiteral("chargée à 80 %"));

    // Resets: the OCR group leaves the options, the option group the voice;
    // after each the device agrees with the viewer's own reset.
    host.sendUnpaced(ResetSettings(1).payload());
    pairs = host.requestOptionFile();
    EXPECT_EQ(pairs.value(QStringLiteral("TTSSpeed")), QStringLiteral("2"));
    EXPECT_EQ(pairs.value(QStringLiteral("OCRViewMode")), QStringLiteral("0"));
    EXPECT_EQ(pairs.value(QStringLiteral("JoyStickSpeed")), QStringLiteral("3"));
    EXPECT_EQ(pairs.value(QStringLiteral("OCRLanguage")), QStringLiteral("4"));
    host.sendUnpaced(ResetSettings(0).payload());
    VizoSettings reset;
    reset.resetOption();
    reset.resetOCR();
    VizoSettings afterReset;
    afterReset.applyOptionFileData(host.requestOptionFile());
    EXPECT_EQ(afterReset.options()->passwords(), reset.options()->passwords());
    EXPECT_EQ(afterReset.options()->joystickSensitivity(), reset.options()->joystickSensitivity());
    EXPECT_EQ(afterReset.options()->contrastForNear(), reset.options()->contrastForNear());
    EXPECT_EQ(afterReset.options()->colorModeForNear()->slot(2)->textColor(), 2);
    EXPECT_EQ(afterReset.ocr()->language(), reset.ocr()->language());
    EXPECT_EQ(afterReset.ocr()->speedOfTTS(), reset.ocr()->speedOfTTS());
    EXPECT_TRUE(host.failures.isEmpty());
}

TEST(SimOverPty, CardOpensFilesAndDeletesThousandsOfLongNamesWithAnAnswerPerFrame)
{
    VizoSimState state;
    state.fillCard(3010, 2, 120);
    state.images << QStringLiteral("IMG_short.jpg");
    state.ocrTexts << QStringLiteral("OCR_short.txt");
    const QStringList longNames = state.images.mid(0, 3010);
    RunningSim running{state};
    ASSERT_TRUE(running.start());
    Host &host = running.host;
    using namespace VizoCmd;

    // Opening a stored file switches the mode; closing it returns to the
    // camera and its zoom.
    host.sendUnpaced(ImageOpen::fromPath(QStringLiteral("Image/IMG_short.jpg"))->payload());
    EXPECT_EQ(host.nextReport(), QByteArray::fromHex("260701"));
    EXPECT_EQ(running.sim.device().state().openFile, QStringLiteral("Image/IMG_short.jpg"));
    EXPECT_FALSE(running.sim.device().state().openFileMissing);
    host.sendUnpaced(ImageClose().payload());
    EXPECT_EQ(host.nextReport(), QByteArray::fromHex("260700"));
    EXPECT_EQ(host.nextReport(), QByteArray::fromHex("260001"));
    host.sendUnpaced(OcrOpenFile::fromPath(QStringLiteral("OCR/OCR_short.txt"))->payload());
    EXPECT_EQ(host.nextReport(), QByteArray::fromHex("260400"));
    EXPECT_EQ(running.sim.device().state().mode, VizoSimMode::OcrText);
    host.sendUnpaced(OcrExit().payload());
    EXPECT_EQ(host.nextReport(), QByteArray::fromHex("260401"));
    EXPECT_EQ(host.nextReport(), QByteArray::fromHex("260001"));
    EXPECT_EQ(running.sim.device().state().mode, VizoSimMode::Camera);

    // 3000 long names need many frames; the viewer waits for the answer to
    // each before it sends the next.
    QStringList paths;
    for (const QString &name : longNames.mid(0, 3000))
        paths << QStringLiteral("Image/") + name;
    const auto frames = deleteFilesPayloads(paths);
    ASSERT_TRUE(frames.ok()) << frames.error().toStdString();
    ASSERT_GE(frames->size(), 10);
    for (const QByteArray &payload : *frames) {
        host.sendUnpaced(payload);
        ASSERT_EQ(host.nextReport(), QByteArray::fromHex("510000"));
    }
    QStringList left = longNames.mid(3000);
    left << QStringLiteral("IMG_short.jpg");
    EXPECT_EQ(host.requestFileList(ImageFiles), left);

    // A path that is not on the card is skipped; the rest goes, and the
    // answer still names the kind so the viewer fetches the list again.
    host.sendUnpaced(deleteFilesPayloads({QStringLiteral("Image/IMG_9999.jpg"),
                                          QStringLiteral("Image/IMG_short.jpg")})
                         ->first());
    EXPECT_EQ(host.nextReport(), QByteArray::fromHex("510000"));
    left.removeLast();
    EXPECT_EQ(host.requestFileList(ImageFiles), left);
    EXPECT_TRUE(running.traced(QStringLiteral("note:   no such file: Image/IMG_9999.jpg")));
    EXPECT_EQ(host.requestFileList(OcrFiles).size(), 3);
    EXPECT_TRUE(host.failures.isEmpty());
}

// What the device says on its own, from a control line; bad lines are
// refused with a reason and send nothing.
TEST(SimOverPty, ControlLinesMakeTheDeviceSpeakOnItsOwn)
{
    VizoSimState state;
    state.fillCard(2, 1);
    RunningSim running{state};
    ASSERT_TRUE(running.start());
    Host &host = running.host;
    const struct
    {
        const char *line;
        QList<QByteArray> reports; // empty: refused
    } cases[] = {
        {"battery 15", {QByteArray::fromHex("26180f")}},
        {"disconnecting", {QByteArray::fromHex("261b")}},
        {"view distance", {QByteArray::fromHex("260203"), QByteArray::fromHex("260200")}},
        {"mode ocr", {QByteArray::fromHex("260402"), QByteArray::fromHex("260400")}},
        {"mode image", {QByteArray::fromHex("260401"), QByteArray::fromHex("260701")}},
        {"mode camera", {QByteArray::fromHex("260700")}},
        {"send 26 0a 01", {QByteArray::fromHex("260a01")}},
        {"battery 101", {}},
        {"view sideways", {}},
        {"send 2", {}},
        {"fly away", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        const QString reply = running.sim.control(QString::fromLatin1(c.line));
        EXPECT_EQ(reply.startsWith(QStringLiteral("ok ")), !c.reports.isEmpty()) << reply.toStdString();
        QList<QByteArray> got;
        for (qsizetype i = 0; i < c.reports.size(); ++i)
            got << host.nextReport();
        EXPECT_EQ(got, c.reports);
    }
    EXPECT_EQ(running.sim.device().state().batteryLevel, 15);
    EXPECT_EQ(running.sim.device().state().cameraMode, int(VizoSimState::Distance));
    EXPECT_EQ(host.reportCount(), 0);

    // The battery text follows the level; a new list arrives unasked.
    EXPECT_TRUE(running.sim.control(QStringLiteral("battery-info")).startsWith(QStringLiteral("ok")));
    EXPECT_EQ(host.nextReport(), QByteArray::fromHex("2504") + running.sim.device().batteryText().toUtf8());
    EXPECT_TRUE(running.sim.device().batteryText().contains(QStringLiteral("15")));
    EXPECT_TRUE(running.sim.control(QStringLiteral("files images 4 40")).startsWith(QStringLiteral("ok")));
    ASSERT_TRUE(waitFor([&] {
        std::lock_guard lock(host.mutex);
        return host.fileListComplete;
    }));
    {
        std::lock_guard lock(host.mutex);
        const QStringList names = QString::fromUtf8(host.fileList).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_EQ(names.size(), 4);
        EXPECT_EQ(names.mid(0, 2), state.images);
        EXPECT_EQ(names[3].size(), 40);
    }

    // Unplugging closes the port: the host sees the device vanish.
    EXPECT_EQ(running.sim.control(QStringLiteral("unplug")), QStringLiteral("ok unplug"));
    EXPECT_TRUE(waitFor([&] { return !host.failures.isEmpty(); }));
}

// With a rate set, every byte costs its wire time: the option file cannot
// arrive before its bytes could have crossed the line (a lower bound only).
TEST(SimOverPty, ABaudRateGivesEveryByteItsWireTime)
{
    RunningSim running{VizoSimState{}};
    running.sim.setBaud(19200);
    ASSERT_TRUE(running.start());
    QElapsedTimer timer;
    timer.start();
    const VizoOptionFileData pairs = running.host.requestOptionFile();
    const qint64 elapsed = timer.elapsed();
    ASSERT_FALSE(pairs.isEmpty());
    qsizetype bytes = 0;
    {
        std::lock_guard lock(running.host.mutex);
        bytes = running.host.optionFile.size();
    }
    // Request out plus data back, 10 bits a byte, frame headers not counted.
    EXPECT_GE(elapsed, (bytes + 16) * 10 * 1000 / 19200) << bytes << " bytes";
    EXPECT_EQ(running.sim.baud(), 19200);
}
