#pragma once
// Everything the virtual device knows about itself: its settings (what its
// option file says) and its running state (view, zoom, mode, open file).
// A viewer running the device in-process draws its synthetic picture from
// this.
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

enum class VizoSimMode {
    Camera,               // live camera picture
    OcrText,              // recognised text shown (OCR mode)
    OcrPreview,           // full-screen OCR preview (field mode 1)
    StoredImage,          // a stored image is open
    AutoScroll,           // auto-scroll mode
    CameraPreviewFromOcr, // camera preview entered from OCR mode
};

struct VizoSimColorSlot
{
    int textColor = 0; // colour codes: 0 Disable, 1 Natural, 2 Black, 3 White ... 10 GrayScale
    int bgColor = 0;
    friend bool operator==(const VizoSimColorSlot &, const VizoSimColorSlot &) = default;
};

struct VizoSimState
{
    enum View { Distance = 0, Near = 1 };
    static constexpr int slotCount = 8;

    // Identity.
    int edition = 0; // 0 Summit, 1 Valley, 2 Ridge
    int region = 1;
    QString infoSw = QStringLiteral("1.0.0-sim");
    QString infoSn = QStringLiteral("VZ-SIM-0001");
    QString infoAp = QStringLiteral("VizoSim");
    int batteryLevel = 80;

    // Camera and picture.
    int cameraMode = Near;
    int zoomLevel = 1;
    std::array<std::array<VizoSimColorSlot, slotCount>, 2> colorSlots = defaultSlots();
    std::array<int, 2> selectedSlot{0, 0};
    std::array<int, 2> slotBeforeEasyColor{0, 0};
    std::array<int, 2> contrast{20, 20};
    std::array<int, 2> markerMode{4, 4}; // 4: markers off
    int moveDirection = 10;              // 10: not moving
    int moveSpeed = 0;
    bool findPosition = false;
    bool markerAdjusting = false;

    // Modes.
    VizoSimMode mode = VizoSimMode::Camera;
    bool autoScrollRunning = false;
    bool ocrPlaying = false;
    bool menuOpen = false;
    QString openFile;   // path of the open image or OCR text
    QString lastSpoken; // text of the last SpeakText

    // Option settings.
    bool focusLock = false;
    bool voiceGuide = true;
    int autoScrollDirection = 0;
    int autoScrollSpeed = 3;
    int autoScrollRange = 1;
    int language = 1;
    int joystickSensitivity = 1;
    QString wifiPassword = QStringLiteral("vizo1234");
    int wifiResolution = 0;

    // OCR and speech settings.
    int ocrFieldMode = 0;
    int ocrViewMode = 0;
    int ocrDeskew = 1;
    int ocrPerspective = 1;
    int ttsType = 0;
    int ttsSpeed = 5;
    int ttsVolume = 5;
    int ttsPitch = 5;
    std::uint32_t ocrLanguages = 1;

    // The memory card: names in their kind's folder ("Image/", "OCR/").
    QStringList images;
    QStringList ocrTexts;

    // The colour slot in use in the current view.
    const VizoSimColorSlot &currentSlot() const
    {
        const int view = cameraMode == Near ? Near : Distance;
        return colorSlots[std::size_t(view)][std::size_t(selectedSlot[std::size_t(view)])];
    }
    int view() const { return cameraMode == Near ? Near : Distance; }

    // Sets `count` stored images and OCR texts with made-up names.
    void fillCard(int imageCount, int ocrCount);
    // Back to the factory values: the option settings, the OCR settings, or both.
    void resetOptions();
    void resetOcr();

    static std::array<std::array<VizoSimColorSlot, slotCount>, 2> defaultSlots();
};
