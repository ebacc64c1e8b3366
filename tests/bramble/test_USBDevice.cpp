#include <bramble/USBDevice.h>
#include <bramble/USBEndPoint.h>
#include <bramble/USBInterface.h>

#include <gtest/gtest.h>

#include <libusb.h>

#include <cstring>

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

} // namespace

TEST(USBDescriptor, DecodesStringDescriptors)
{
    // "Vizo": length 10, type 3, UTF-16LE.
    EXPECT_EQ(USBDevice::decodeStringDescriptor(bytes({10, 3, 'V', 0, 'i', 0, 'z', 0, 'o', 0})), QStringLiteral("Vizo"));
    // Non-ASCII and a surrogate pair survive.
    EXPECT_EQ(USBDevice::decodeStringDescriptor(bytes({8, 3, 0xDC, 0x00, 0x3D, 0xD8, 0x00, 0xDE})),
              QString::fromUtf8("\xC3\x9C\xF0\x9F\x98\x80"));
    // Trailing bytes beyond the length are not text.
    EXPECT_EQ(USBDevice::decodeStringDescriptor(bytes({4, 3, 'A', 0, 'B', 0, 'C', 0})), QStringLiteral("A"));
    // The header alone is an empty string, not an absent one.
    const QString empty = USBDevice::decodeStringDescriptor(bytes({2, 3}));
    EXPECT_FALSE(empty.isNull());
    EXPECT_TRUE(empty.isEmpty());
}

TEST(USBDescriptor, MalformedRepliesAreNoStringOrAreCut)
{
    // Not a string descriptor: absent.
    EXPECT_TRUE(USBDevice::decodeStringDescriptor(bytes({10, 2, 'V', 0, 'i', 0, 'z', 0, 'o', 0})).isNull());
    EXPECT_TRUE(USBDevice::decodeStringDescriptor(bytes({10, 1, 'V', 0})).isNull());
    EXPECT_TRUE(USBDevice::decodeStringDescriptor(QByteArray()).isNull());
    EXPECT_TRUE(USBDevice::decodeStringDescriptor(bytes({10})).isNull());
    EXPECT_TRUE(USBDevice::decodeStringDescriptor(bytes({1, 3})).isNull());
    // A length beyond the reply reads only what arrived; an odd length
    // drops the dangling byte.
    EXPECT_EQ(USBDevice::decodeStringDescriptor(bytes({255, 3, 'O', 0, 'K', 0})), QStringLiteral("OK"));
    EXPECT_EQ(USBDevice::decodeStringDescriptor(bytes({7, 3, 'O', 0, 'K', 0, 'X'})), QStringLiteral("OK"));
}

TEST(USBDescriptor, ReadsStringsByGetDescriptor)
{
    int calls = 0;
    auto device = [&](quint8 requestType, quint8 request, quint16 value, quint16 index, unsigned char *buffer,
                      quint16 length) {
        ++calls;
        EXPECT_EQ(requestType, 0x80);
        EXPECT_EQ(request, 6);
        EXPECT_EQ(index, 0x0409);
        EXPECT_EQ(length, 512);
        // The buffer comes zeroed.
        for (int i = 0; i < length; ++i)
            EXPECT_EQ(buffer[i], 0) << i;
        switch (value) {
        case 0x0301: {
            const unsigned char reply[] = {8, 3, 'F', 0, 'X', 0, '3', 0};
            std::memcpy(buffer, reply, sizeof reply);
            return int(sizeof reply);
        }
        case 0x0302: {
            const unsigned char reply[] = {8, 2, 'F', 0, 'X', 0, '3', 0}; // wrong type
            std::memcpy(buffer, reply, sizeof reply);
            return int(sizeof reply);
        }
        default:
            return int(USBErrorPipe); // the device stalls
        }
    };
    EXPECT_EQ(USBDevice::readStringDescriptor(device, 1), QStringLiteral("FX3"));
    EXPECT_TRUE(USBDevice::readStringDescriptor(device, 2).isNull());
    EXPECT_TRUE(USBDevice::readStringDescriptor(device, 3).isNull());
    EXPECT_EQ(calls, 3);
    // Index 0 names no string: no request (it would return the language table).
    EXPECT_TRUE(USBDevice::readStringDescriptor(device, 0).isNull());
    EXPECT_EQ(calls, 3);
}

TEST(USBDescriptor, MapsSpeeds)
{
    const struct
    {
        int libusbSpeed;
        quint8 code;
    } rows[] = {
        {LIBUSB_SPEED_LOW, 0},   {LIBUSB_SPEED_FULL, 1},       {LIBUSB_SPEED_HIGH, 2},
        {LIBUSB_SPEED_SUPER, 3}, {LIBUSB_SPEED_SUPER_PLUS, 3}, {LIBUSB_SPEED_UNKNOWN, 0},
        {-1, 0},                 {99, 0},
    };
    for (const auto &row : rows)
        EXPECT_EQ(USBDevice::speedCode(row.libusbSpeed), row.code) << "libusb speed " << row.libusbSpeed;
}

TEST(USBDescriptor, LocationIdHoldsBusAndPorts)
{
    EXPECT_EQ(USBDevice::locationIDFor(3, {1, 4, 2}), 0x03142000u);
    EXPECT_EQ(USBDevice::locationIDFor(1, {}), 0x01000000u);
    // Deeper than six hubs: the rest is cut, never shifted into the bus.
    EXPECT_EQ(USBDevice::locationIDFor(2, {1, 2, 3, 4, 5, 6, 7, 8}), 0x02123456u);
}

TEST(USBEndPoint, UnknownPipeKeepsTheDefaults)
{
    USBEndPoint endPoint(nullptr, 1);
    EXPECT_EQ(endPoint.direction(), 0xFF);
    EXPECT_EQ(endPoint.number(), 0xFF);
    EXPECT_EQ(endPoint.transferType(), 0xFF);
    EXPECT_EQ(endPoint.maxPacketSize(), 0);
    EXPECT_EQ(endPoint.interval(), 0);
    quint32 size = 8;
    unsigned char buffer[8] = {};
    EXPECT_NE(endPoint.readPipeWithBuffer(buffer, size), USBSuccess);
    EXPECT_EQ(size, 0u);
    bool halted = false;
    EXPECT_NE(endPoint.getPipeStatus(halted), USBSuccess);
    EXPECT_EQ(endPoint.abortPipe(), USBErrorNotSupported);
}

// Whatever this machine has attached (often nothing, maybe no USB at all):
// enumeration and the objects' properties never crash and stay in range.
TEST(USBDevice, EnumerationIsSafeWithOrWithoutDevices)
{
    const auto devices = USBDevice::devices();
    for (const auto &device : devices) {
        SCOPED_TRACE(testing::Message() << std::hex << device->deviceVendor() << ":" << device->deviceProduct());
        EXPECT_LE(device->deviceSpeed(), 3);
        EXPECT_FALSE(device->isOpen());
        quint64 frame = 0;
        qint64 at = 0;
        EXPECT_EQ(device->getBusFrameNumber(frame, at), USBErrorNotSupported);
        quint8 configuration = 0;
        EXPECT_EQ(device->getConfiguration(configuration), USBErrorNotOpen);
        for (const auto &interface : device->interfaces()) {
            EXPECT_EQ(interface->device(), device);
            ASSERT_NE(interface->defaultControlEndPoint(), nullptr);
            EXPECT_EQ(interface->defaultControlEndPoint()->transferType(), USBEndPoint::kControl);
            const auto endPoints = interface->endPoints();
            EXPECT_EQ(endPoints.size(), interface->numEndpoints());
            for (const auto &endPoint : endPoints) {
                EXPECT_LE(endPoint->transferType(), 3);
                EXPECT_LE(endPoint->direction(), 1);
            }
        }
    }
    EXPECT_FALSE(usbStatusText(USBErrorAccess).isEmpty());
}
