#pragma once
// The virtual device's camera picture: a page of text drawn the way the
// device would show it, in its current view, zoom, colour slot, contrast and
// reading marker, with its mode (live camera, OCR text, stored image,
// full-screen OCR preview, auto-scroll, camera preview). Pure drawing: the
// caller fills the state from the virtual device and pushes the image.
#include <QImage>
#include <QSize>

struct SimulatedPictureState
{
    int mode = 0;          // 0 camera, 1 OCR, 2 image, 3 OCR preview, 4 auto-scroll, 5 camera preview
    int cameraMode = 1;    // 0 distance view, 1 near view
    int zoomLevel = 0;     // 0 and up
    int textColor = 1;     // colour codes 0..10 of the active slot
    int bgColor = 1;
    int contrast = 19;     // 0..39
    int markerMode = 4;    // 0 horizontal line, 1 vertical line, 2 horizontal window, 3 vertical window, 4 none
    bool menuOpen = false;
    bool ocrPlaying = false;
    bool autoScrollPlaying = false;
    int panX = 0;          // camera position, in steps
    int panY = 0;
};

namespace SimulatedPicture {

// `seconds` drives the motion: a live camera is never perfectly still.
QImage render(const SimulatedPictureState &state, QSize size, double seconds);

// Display colours of a colour code in the picture.
QColor textColorFor(int code);
QColor backgroundColorFor(int code);

} // namespace SimulatedPicture
