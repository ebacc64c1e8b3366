#include "input/VizoInput.h"

#include "settings/VizoSettings.h"

VizoInput::VizoInput(VizoSettings &settings, VizoInputHooks hooks, QObject *parent)
    : QObject(parent), m_model(settings),
      m_context(std::make_unique<VizoInputContext>(m_model, std::move(hooks))),
      m_hotKeys(std::make_unique<VizoHotKeyMap>(*m_context)),
      m_gestures(std::make_unique<VizoGestureMap>(*m_context))
{
}

VizoInput::~VizoInput() = default;

void VizoInput::setupHotKeys()
{
    m_hotKeys->setupHotKeys();
}

void VizoInput::setupMouseGestures()
{
    m_gestures->setupMouseGestures();
}

VizoInputState VizoInput::state(const VizoInputFlags &flags) const
{
    VizoInputState s;
    s.vizoVersion = m_model.vizoVersion();
    s.vizoMode = m_model.vizoMode();
    s.vizoHotKeyMode = m_model.vizoHotKeyMode();
    s.vizoMouseGestureMode = m_model.vizoMouseGestureMode();
    s.cameraMode = m_model.cameraMode();
    s.ocrFieldMode = m_model.ocrFieldMode();
    s.ocrPlayed = m_model.ocrPlayed();
    s.autoScrollPlayed = m_model.autoScrollPlayed();
    s.applicationActive = flags.applicationActive;
    s.menuOpened = flags.menuOpened;
    s.disableAllFunctions = flags.disableAllFunctions;
    s.disableHotKeys = flags.disableHotKeys;
    s.disableMouseGestures = flags.disableMouseGestures;
    s.captureTop = flags.captureTop;
    return s;
}

VizoHotKeyArming VizoInput::updateHotKeys(const VizoInputFlags &flags)
{
    return m_hotKeys->updateHotKeys(state(flags));
}

QStringList VizoInput::updateMouseGestures(const VizoInputFlags &flags)
{
    return m_gestures->updateMouseGestures(state(flags));
}
