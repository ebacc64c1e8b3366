#pragma once
// What USBDevice keeps of libusb. The context is shared by every device
// object, so it lives until the last one is gone.
#include "bramble/USBDevice.h"

#include <libusb.h>

#include <memory>

struct USBDevice::Private
{
    std::shared_ptr<libusb_context> context;
    libusb_device *device = nullptr;           // one reference held
    libusb_device_handle *handle = nullptr;    // while open
};

// A libusb status as a USBStatus.
int usbStatus(int libusbStatus);
