#pragma once
// The input layer as the application delegate owns it: the hot key table,
// the gesture table and what they share (the settings view, the move
// direction, the hooks back into the delegate). The delegate's own
// updateHotKeys/updateMouseGestures pass its flags in; everything else is
// read from the settings.
#include "input/VizoGestureMap.h"
#include "input/VizoHotKeyMap.h"
#include "input/VizoInputContext.h"
#include "input/VizoSettingsInputModel.h"

#include <QObject>

#include <memory>

class VizoSettings;

// The delegate's side of the input state.
struct VizoInputFlags
{
    bool applicationActive = true;
    bool menuOpened = false;
    bool disableAllFunctions = false;
    bool disableHotKeys = false;
    bool disableMouseGestures = false;
    VizoCaptureTop captureTop = VizoCaptureTop::None;
};

class VizoInput : public QObject
{
    Q_OBJECT
public:
    VizoInput(VizoSettings &settings, VizoInputHooks hooks, QObject *parent = nullptr);
    ~VizoInput() override;

    void setupHotKeys();
    void setupMouseGestures();
    VizoHotKeyArming updateHotKeys(const VizoInputFlags &flags);
    QStringList updateMouseGestures(const VizoInputFlags &flags);

    // The full input state: the settings' modes and the delegate's flags.
    VizoInputState state(const VizoInputFlags &flags) const;

    VizoHotKeyMap &hotKeys() { return *m_hotKeys; }
    VizoGestureMap &gestures() { return *m_gestures; }
    VizoInputContext &context() { return *m_context; }

private:
    VizoSettingsInputModel m_model;
    std::unique_ptr<VizoInputContext> m_context;
    std::unique_ptr<VizoHotKeyMap> m_hotKeys;
    std::unique_ptr<VizoGestureMap> m_gestures;
};
