#pragma once
// The virtual device's camera picture: a page of text drawn the way the
// device would show it, in its current view, zoom, colour slot, contrast and
// reading marker, with its mode (live camera, OCR text, stored image,
// full-screen OCR preview, auto-scroll, camera preview), the setting page it
// is following, and as a caption the last text it was asked to speak, so a
// sighted tester sees what a user would hear. Pure drawing: the caller fills
// the state from the virtual device and pushes the image.
#include <QImage>
#include <QSize>
#include <QString>

struct SimulatedPictureState
{
    int mode = 0;       // 0 camera, 1 OCR, 2 image, 3 OCR preview, 4 auto-scroll, 5 camera preview
    int cameraMode = 1; // 0 distance view, 1 near view (the camera shown)
    int zoomLevel = 0;  // 0 and up
    int textColor = 1;  // colour codes 0..10 of the active slot
    int bgColor = 1;
    int contrast = 19; // 0..39
    int markerMode =
        4; // 0 horizontal line, 1 vertical line, 2 horizontal window, 3 vertical window, 4 none
    int markerPosition = 0; // line marker: steps up (horizontal) or right (vertical) of the centre
    int markerSize = 3;     // window marker: height or width in steps
    bool menuOpen = false;
    bool ocrPlaying = false;
    bool autoScrollPlaying = false;
    double panX = 0; // camera position, in steps (right and down)
    double panY = 0;
    bool findPosition = false;

    // A setting page the device follows: 0 none, 1 marker, 2 scroll range
    // start, 3 scroll range end, 4 distance view direction.
    int adjusting = 0;

    // Options shown in the status line.
    bool focusLock = false;
    bool voiceGuide = true;
    QString language;            // name of the device's language
    int autoScrollDirection = 0; // 0 horizontal, 1 vertical
    int autoScrollSpeed = 3;
    bool customScrollRange = false;
    int autoScrollLine = 0;

    // The open image or OCR text ("Image/..." or "OCR/..."; empty: the camera's page).
    QString openFile;
    bool openFileMissing = false;
    int documentZoom = 0;
    int documentContrast = 19;
    double documentPanX = 0;
    double documentPanY = 0;

    // OCR and speech.
    int readingLine = 0;
    int ocrViewMode = 0; // 0 image, 1 full text, 2 line, 3 word
    bool deskew = false;
    bool perspective = false;
    int ttsType = 0; // 0 male, 1 female
    int ttsSpeed = 2;
    int ttsVolume = 7;
    int ttsPitch = 5;
    QString ocrLanguages; // names of the OCR languages switched on

    QString caption; // the last text the device spoke
};

namespace SimulatedPicture {

// `seconds` drives the motion: a live camera is never perfectly still.
QImage render(const SimulatedPictureState &state, QSize size, double seconds);

// Display colours of a colour code in the picture.
QColor textColorFor(int code);
QColor backgroundColorFor(int code);

// The text the device recognised: of a stored OCR file (made up from its
// name, so each file reads differently), or of the page under the camera.
QStringList recognisedLines(const QString &openFile);

} // namespace SimulatedPicture
