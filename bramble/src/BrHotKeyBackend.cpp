#include "BrHotKeyBackend.h"

#include "BrHotKeyInApp.h"
#include "BrHotKeyX11.h"
#include "BrLog.h"

#include <QGuiApplication>

BrHotKeyBackend::~BrHotKeyBackend() = default;

std::unique_ptr<BrHotKeyBackend> BrHotKeyBackend::create(EventSink sink)
{
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (auto x11 = BrHotKeyX11::create(sink))
            return x11;
        qCWarning(lcBramble) << "hot keys: no X connection, falling back to application key events";
    }
    return std::make_unique<BrHotKeyInApp>(std::move(sink));
}

bool BrHotKeyBackend::grab(quint32 id, const BrKeyGrab &key)
{
    if (m_grabs.count(id))
        return true;
    for (const auto &[otherId, other] : m_grabs) {
        if (other.sameCombination(key)) {
            qCInfo(lcBramble) << "hot key" << id << ": combination already registered as hot key" << otherId;
            return false;
        }
    }
    if (!doGrab(id, key))
        return false;
    m_grabs.emplace(id, key);
    return true;
}

void BrHotKeyBackend::ungrab(quint32 id)
{
    if (!m_grabs.count(id))
        return;
    doUngrab(id);
    m_grabs.erase(id);
}
