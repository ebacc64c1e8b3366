#pragma once
// Everything the virtual device knows about itself: its settings (what its
// option file says) and its running state (view, zoom, mode, open file,
// camera position, a setting page under way, the last words it spoke).
// A viewer running the device in-process draws its synthetic picture from
// this.
#include <QPointF>
#include <QString>
#include <QStringList>

#include <array>
#include <chrono>
#include <cstdint>

enum class VizoSimMode {
    Camera,               // live camera picture
    OcrText,              // recognised text shown (OCR mode)
    OcrPreview,           // full-screen OCR preview (field mode 1)
    StoredImage,          // a stored image is open
    AutoScroll,           // auto-scroll mode
    CameraPreviewFromOcr, // camera preview entered from OCR mode
};

// A setting page of the viewer that the device is following: the device
// shows what is being adjusted and can undo it on cancel.
enum class VizoSimAdjusting {
    None,
    Marker,            // marker line position or window size
    ScrollRangeStart,  // auto-scroll range: aiming at the start
    ScrollRangeEnd,    // auto-scroll range: aiming at the end
    DistanceDirection, // aiming the distance camera
};

struct VizoSimColorSlot
{
    int textColor = 0; // colour codes: 0 Disable, 1 Natural, 2 Black, 3 White ... 10 GrayScale
    int bgColor = 0;
    friend bool operator==(const VizoSimColorSlot &, const VizoSimColorSlot &) = default;
};

// A position that moves in one of the eight directions while a move is
// under way (x to the right, y downwards, in steps), within +-limit.
struct VizoSimMotion
{
    using Clock = std::chrono::steady_clock;
    static constexpr double limitX = 12;
    static constexpr double limitY = 8;

    QPointF origin;     // where the current move started
    int direction = 10; // 0 up, 1 down, 2 left, 3 right, 4-7 diagonals, 10 still
    double stepsPerSecond = 0;
    Clock::time_point since{};

    QPointF at(Clock::time_point now) const;
    // Starts a move (or stops it, for a direction outside 0..7).
    void start(int direction, double stepsPerSecond, Clock::time_point now);
    void stop(Clock::time_point now) { start(10, 0, now); }
    // Puts the position somewhere, still.
    void place(QPointF position);
    bool moving() const { return direction >= 0 && direction <= 7; }
};

struct VizoSimState
{
    enum View { Distance = 0, Near = 1 };
    static constexpr int slotCount = 8;
    static constexpr int maxMarkerPosition = 8; // steps either side of the centre
    static constexpr int maxMarkerSize = 8;
    static constexpr const char *defaultPassword = "47185296";

    // Identity.
    int edition = 0; // 0 Summit, 1 Valley, 2 Ridge
    int region = 1;
    QString infoSw = QStringLiteral("1.0.0-sim");
    QString infoSn = QStringLiteral("VZ-SIM-0001");
    QString infoAp = QStringLiteral("VizoSim");
    int batteryLevel = 80;
    int hostLink = 0; // 2 or 3: the USB speed the viewer announced

    // Camera and picture.
    int cameraMode = Near;
    int zoomLevel = 1;
    std::array<std::array<VizoSimColorSlot, slotCount>, 2> colorSlots = defaultSlots();
    std::array<int, 2> selectedSlot{1, 1};
    std::array<int, 2> slotBeforeEasyColor{1, 1};
    std::array<int, 2> contrast{19, 19};
    std::array<int, 2> markerMode{4, 4}; // 4: markers off
    std::array<int, 2> markerPosition{0,
                                      0}; // line marker: steps up (horizontal) or right (vertical)
    std::array<int, 2> markerSize{3, 3};  // window marker: height or width in steps
    std::array<VizoSimMotion, 2> camera;  // where each view's camera looks
    int moveSpeed = 0;                    // distance level of a mouse drag
    bool findPosition = false;

    // A setting page under way, and what its cancel puts back.
    VizoSimAdjusting adjusting = VizoSimAdjusting::None;
    QPointF positionBeforeAdjusting;
    int markerPositionBefore = 0;
    int markerSizeBefore = 3;
    bool customScrollRange = false; // a confirmed start and end position
    QPointF scrollRangeStart;
    QPointF scrollRangeEnd;

    // Modes.
    VizoSimMode mode = VizoSimMode::Camera;
    bool autoScrollRunning = false;
    int autoScrollLine = 0;
    bool ocrPlaying = false;
    int readingLine = 0; // the line of the recognised text being read
    bool menuOpen = false;
    QString openFile; // path of the open image or OCR text
    bool openFileMissing = false;
    int documentZoom = 0;      // zoom, contrast and position of the open
    int documentContrast = 19; // image or recognised text
    VizoSimMotion document;
    QString lastSpoken; // text of the last SpeakText

    // Option settings (the values after an option reset).
    bool focusLock = false;
    bool voiceGuide = true;
    int autoScrollDirection = 0;
    int autoScrollSpeed = 3;
    int autoScrollRange = 1; // 1: an A4 page; 0: the custom range
    int language = 1;
    int joystickSensitivity = 0;
    QString wifiPassword = QString::fromLatin1(defaultPassword);
    int wifiResolution = 1;

    // OCR and speech settings (the values after an OCR reset).
    int ocrFieldMode = 0;
    int ocrViewMode = 0;
    int ocrDeskew = 0;
    int ocrPerspective = 0;
    int ttsType = 0;
    int ttsSpeed = 2;
    int ttsVolume = 7;
    int ttsPitch = 5;
    std::uint32_t ocrLanguages = 2; // set by the option reset, with the language

    // The memory card: names in their kind's folder ("Image/", "OCR/").
    QStringList images;
    QStringList ocrTexts;
    int nameLength = 0; // 0: short names; otherwise every new name has this many characters
    int nextImageNumber = 1;
    int nextOcrNumber = 1;

    // The colour slot in use in the current view.
    const VizoSimColorSlot &currentSlot() const
    {
        const int v = view();
        return colorSlots[std::size_t(v)][std::size_t(selectedSlot[std::size_t(v)])];
    }
    int view() const { return cameraMode == Near ? Near : Distance; }
    // The camera whose picture is shown: aiming the distance camera shows it
    // whatever the view.
    int shownView() const
    {
        return adjusting == VizoSimAdjusting::DistanceDirection ? int(Distance) : view();
    }

    // Sets `imageCount` stored images and `ocrCount` OCR texts with made-up
    // names, `nameLength` characters long (0: short names).
    void fillCard(int imageCount, int ocrCount, int nameLength = 0);
    // The name the next ImageSave or OcrSave stores, and counts it.
    QString takeImageName();
    QString takeOcrName();
    // Back to the factory values: the option settings, the OCR settings.
    void resetOptions();
    void resetOcr();

    static std::array<std::array<VizoSimColorSlot, slotCount>, 2> defaultSlots();
    // A file name of `kind` ("IMG", "OCR") number `n`, padded to `length`
    // characters when that is longer than the short name.
    static QString fileName(const char *kind, int n, int length);
    static constexpr int maxNameLength = 255;
};
