#pragma once
// The settings the hot key and gesture handlers read and change, seen from
// the input layer. The application implements it over the settings model;
// a view index is 0 for the distance view and 1 for the near view.

class VizoInputModel
{
public:
    virtual ~VizoInputModel() = default;

    virtual int vizoVersion() const = 0;
    virtual int vizoMode() const = 0;
    virtual int vizoHotKeyMode() const = 0;
    virtual int vizoMouseGestureMode() const = 0;
    virtual int cameraMode() const = 0;
    virtual int ocrFieldMode() const = 0;

    virtual bool ocrPlayed() const = 0;
    virtual void setOcrPlayed(bool played) = 0;
    virtual bool autoScrollPlayed() const = 0;
    virtual void setAutoScrollPlayed(bool played) = 0;
    virtual bool focusLock() const = 0;
    virtual void setFocusLock(bool on) = 0;

    virtual int contrast(int view) const = 0;
    virtual void setContrast(int view, int value) = 0;
    // One more contrast change whose echo from the device is to be ignored.
    virtual void incrementSendContrastCount() = 0;

    virtual int selectedColorSlot(int view) const = 0;
    virtual void setSelectedColorSlot(int view, int index) = 0;
    virtual int oldSelectedColorSlot(int view) const = 0;
    virtual void setOldSelectedColorSlot(int view, int index) = 0;
    // Text colour code of a slot of the view's colour mode; -1 outside 0..7.
    virtual int slotTextColor(int view, int index) const = 0;
    // Predict the device's colour step in the current view.
    virtual void calcNextColor() = 0;
    virtual void calcPrevColor() = 0;

    virtual int speedOfTTS() const = 0;
    virtual void setSpeedOfTTS(int speed) = 0;
};
