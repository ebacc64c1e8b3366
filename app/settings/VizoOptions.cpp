#include "settings/VizoOptions.h"

VizoOptions::VizoOptions(const VizoSettings *settings, QObject *parent)
    : QObject(parent), m_colorModeForDistance(new VizoColorMode(settings, this)),
      m_colorModeForNear(new VizoColorMode(settings, this))
{
    connect(m_colorModeForDistance, &VizoColorMode::changed, this, &VizoOptions::changed);
    connect(m_colorModeForNear, &VizoColorMode::changed, this, &VizoOptions::changed);
}
