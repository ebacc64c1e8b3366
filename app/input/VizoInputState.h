#pragma once
// Everything that decides which hot keys and mouse gestures are armed, as
// one plain value. The application delegate fills it from the settings model
// and its own flags; the arming rules are pure functions of it, so they can
// be checked without windows or a device.

// What is on top of the modal stack, as far as input cares: one of the two
// full-screen capture windows (image or OCR), with or without its own menu.
enum class VizoCaptureTop {
    None,       // no capture window on top
    MenuClosed, // a capture window on top, its own menu closed
    MenuOpen,   // a capture window on top, its own menu open
};

// Edition codes the device reports.
namespace VizoEdition {
constexpr int Summit = 0;
constexpr int Valley = 1;
constexpr int Ridge = 2;
constexpr int Unknown = 255;
} // namespace VizoEdition

struct VizoInputState
{
    // From the settings model.
    int vizoVersion = VizoEdition::Unknown;
    int vizoMode =
        0; // 0 camera, 1 OCR, 2 image, 3 full-screen OCR preview, 4 auto-scroll, 5 camera preview
    int vizoHotKeyMode =
        0; // 0 camera keys, 1 image keys, 2 capture-window keys, 3 camera-preview keys
    int vizoMouseGestureMode = 0; // 0 main window, 1..6 pages, 7..9 capture windows
    int cameraMode = 1;           // 0 distance view, 1 near view
    int ocrFieldMode = 0;         // 0 zoom, 1 full screen
    bool ocrPlayed = false;
    bool autoScrollPlayed = false;

    // From the application delegate.
    bool applicationActive = true;
    bool menuOpened = false;
    bool disableAllFunctions = false;
    bool disableHotKeys = false;
    bool disableMouseGestures = false;
    VizoCaptureTop captureTop = VizoCaptureTop::None;

    // The wheel zoom bursts in progress.
    bool cameraZoomRunning = false;
    bool imageZoomRunning = false;
    bool ocrZoomRunning = false;
};
