#include "kit/AppContext.h"

#include "protocol/VizoCommands.h"
#include "settings/VizoSettings.h"

void AppContext::speak(const QString &text)
{
    writeVizoPacket(VizoCmd::SpeakText(text).payload());
}

QString AppContext::languageString(const QString &section, const QString &key, const QString &fallback) const
{
    if (VizoSettings *s = settings()) {
        const QString text = s->text(section, key);
        if (!text.isEmpty())
            return text;
    }
    return fallback;
}

void AppContext::lockInput(bool lock)
{
    setDisableHotKeys(lock);
    updateHotKeys();
    setDisableMouseGestures(lock);
    updateMouseGestures();
}

ConnectionGuard::ConnectionGuard(const AppContext &context)
    : m_context(context)
    , m_serial(context.connectionSerial())
{
}

bool ConnectionGuard::alive() const
{
    return m_serial == m_context.connectionSerial() && m_context.connectionUsable();
}
