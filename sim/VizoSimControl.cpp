#include "sim/VizoSimControl.h"

#include "protocol/VizoCommands.h"
#include "protocol/VizoReports.h"

#include <QRegularExpression>

namespace {

using Frames = std::vector<VizoSimFrame>;

VizoSimFrame report(VizoCode code)
{
    QByteArray payload;
    payload.append(char(code.group));
    payload.append(char(code.command));
    return {payload};
}

VizoSimFrame report(VizoCode code, int value)
{
    VizoSimFrame f = report(code);
    f.payload.append(char(std::uint8_t(value)));
    return f;
}

VizoSimControlResult done(Frames frames, const QString &what)
{
    return {true, QStringLiteral("ok ") + what, std::move(frames), false};
}

VizoSimControlResult refused(const QString &why)
{
    return {false, QStringLiteral("error: ") + why, {}, false};
}

bool number(const QString &text, int min, int max, int *out)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < min || v > max)
        return false;
    *out = v;
    return true;
}

// The reports that take the device out of its current mode, and the new mode.
Frames leaveMode(VizoSimState &s)
{
    Frames frames;
    switch (s.mode) {
    case VizoSimMode::OcrText:
    case VizoSimMode::OcrPreview:
    case VizoSimMode::CameraPreviewFromOcr:
        frames.push_back(report(VizoReport::OcrStateChanged, 1));
        break;
    case VizoSimMode::StoredImage:
        frames.push_back(report(VizoReport::ImageModeChanged, 0));
        break;
    case VizoSimMode::AutoScroll:
        frames.push_back(report(VizoReport::AutoScrollStateChanged, 1));
        break;
    case VizoSimMode::Camera:
        break;
    }
    s.mode = VizoSimMode::Camera;
    s.ocrPlaying = false;
    s.autoScrollRunning = false;
    s.openFile.clear();
    s.openFileMissing = false;
    return frames;
}

VizoSimControlResult changeMode(VizoSimDevice &device, const QString &mode)
{
    static const QStringList modes{QStringLiteral("camera"), QStringLiteral("ocr"),
                                   QStringLiteral("image"), QStringLiteral("autoscroll")};
    if (!modes.contains(mode))
        return refused(QStringLiteral("mode must be camera, ocr, image or autoscroll"));
    Frames frames;
    device.update([&](VizoSimState &s) {
        frames = leaveMode(s);
        if (mode == QLatin1String("ocr")) {
            s.mode = VizoSimMode::OcrText;
            s.readingLine = 0;
            frames.push_back(report(VizoReport::OcrStateChanged, 2));
            frames.push_back(report(VizoReport::OcrStateChanged, 0));
        } else if (mode == QLatin1String("image")) {
            // The device's own buttons open its newest image.
            s.mode = VizoSimMode::StoredImage;
            s.openFile = s.images.isEmpty() ? QString() : QStringLiteral("Image/") + s.images.last();
            s.openFileMissing = s.images.isEmpty();
            frames.push_back(report(VizoReport::ImageModeChanged, 1));
        } else if (mode == QLatin1String("autoscroll")) {
            s.mode = VizoSimMode::AutoScroll;
            s.autoScrollRunning = true;
            s.autoScrollLine = 0;
            frames.push_back(report(VizoReport::AutoScrollStateChanged, 0));
        }
    });
    return done(std::move(frames), QStringLiteral("mode ") + mode);
}

VizoSimControlResult newFiles(VizoSimDevice &device, const QStringList &words)
{
    const QString kindName = words.value(1);
    if (kindName != QLatin1String("images") && kindName != QLatin1String("ocr"))
        return refused(QStringLiteral("files needs images or ocr"));
    int count = 0;
    if (!number(words.value(2), 0, 100000, &count))
        return refused(QStringLiteral("files needs a count 0-100000"));
    int length = -1;
    if (words.size() > 3 && !number(words.value(3), 13, VizoSimState::maxNameLength, &length))
        return refused(QStringLiteral("name length must be 13-255"));
    const int kind = kindName == QLatin1String("ocr") ? VizoCmd::OcrFiles : VizoCmd::ImageFiles;
    Frames frames;
    device.update([&](VizoSimState &s) {
        if (length > 0)
            s.nameLength = length;
        QStringList &names = kind == VizoCmd::OcrFiles ? s.ocrTexts : s.images;
        // New files get new numbers; files beyond the count are gone.
        while (names.size() > count)
            names.removeLast();
        while (names.size() < count)
            names << (kind == VizoCmd::OcrFiles ? s.takeOcrName() : s.takeImageName());
        frames = VizoSimDevice::fileList(s, kind);
    });
    return done(std::move(frames), QStringLiteral("files %1 %2").arg(kindName).arg(count));
}

VizoSimControlResult rawPayload(const QStringList &words)
{
    const QByteArray hex = words.mid(1).join(QString()).toLatin1();
    static const QRegularExpression hexDigits(QStringLiteral("^([0-9A-Fa-f]{2})+$"));
    if (!hexDigits.match(QString::fromLatin1(hex)).hasMatch())
        return refused(QStringLiteral("send needs hex bytes"));
    const QByteArray payload = QByteArray::fromHex(hex);
    if (payload.size() < 2 || payload.size() > 1000)
        return refused(QStringLiteral("a payload has 2 to 1000 bytes"));
    return done({VizoSimFrame{payload}}, QStringLiteral("send %1 bytes").arg(payload.size()));
}

} // namespace

QString vizoSimControlHelp()
{
    return QStringLiteral(
        "disconnecting                      DeviceDisconnecting (the device is switching off)\n"
        "battery LEVEL                      BatteryNotice LEVEL (0-100)\n"
        "battery-info                       BatteryInfo with the battery text\n"
        "view near|distance                 CameraModeChanged\n"
        "mode camera|ocr|image|autoscroll   the device changes mode by its own buttons\n"
        "files images|ocr COUNT [LENGTH]    the card now holds COUNT files; the new list follows\n"
        "send HEX...                        any payload, as hex bytes\n"
        "unplug                             the device goes away: its port closes\n"
        "help                               this list\n");
}

VizoSimControlResult vizoSimControl(VizoSimDevice &device, const QString &line)
{
    const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString command = words.value(0).toLower();
    if (command.isEmpty())
        return refused(QStringLiteral("empty command (try help)"));
    if (command == QLatin1String("help")) {
        VizoSimControlResult r = done({}, QStringLiteral("commands:"));
        r.reply += QLatin1Char('\n') + vizoSimControlHelp().trimmed();
        return r;
    }
    if (command == QLatin1String("disconnecting"))
        return done({report(VizoReport::DeviceDisconnecting)}, command);
    if (command == QLatin1String("unplug")) {
        VizoSimControlResult r = done({}, command);
        r.unplug = true;
        return r;
    }
    if (command == QLatin1String("battery")) {
        int level = 0;
        if (words.size() != 2 || !number(words[1], 0, 100, &level))
            return refused(QStringLiteral("battery needs a level 0-100"));
        device.update([level](VizoSimState &s) { s.batteryLevel = level; });
        return done({report(VizoReport::BatteryNotice, level)}, QStringLiteral("battery %1").arg(level));
    }
    if (command == QLatin1String("battery-info")) {
        VizoSimFrame info = report(VizoReport::BatteryInfo);
        info.payload += device.batteryText().toUtf8();
        return done({info}, command);
    }
    if (command == QLatin1String("view")) {
        const QString view = words.value(1).toLower();
        if (words.size() != 2 || (view != QLatin1String("near") && view != QLatin1String("distance")))
            return refused(QStringLiteral("view must be near or distance"));
        const int code = view == QLatin1String("near") ? VizoSimState::Near : VizoSimState::Distance;
        device.update([code](VizoSimState &s) {
            s.cameraMode = code;
            s.focusLock = false;
        });
        return done({report(VizoReport::CameraModeChanged, 3), report(VizoReport::CameraModeChanged, code)},
                    QStringLiteral("view ") + view);
    }
    if (command == QLatin1String("mode")) {
        if (words.size() != 2)
            return refused(QStringLiteral("mode must be camera, ocr, image or autoscroll"));
        return changeMode(device, words[1].toLower());
    }
    if (command == QLatin1String("files"))
        return newFiles(device, words);
    if (command == QLatin1String("send"))
        return rawPayload(words);
    return refused(QStringLiteral("unknown command \"%1\" (try help)").arg(words[0]));
}
