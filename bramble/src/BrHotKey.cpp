#include "bramble/BrHotKey.h"

#include "BrHotKeyBackend.h"
#include "BrLog.h"
#include "bramble/BrDispatch.h"
#include "bramble/BrDispatchTimer.h"
#include "bramble/BrKeyMap.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>

#include <cmath>
#include <map>

// The process-wide state shared by every hot key. Main thread only.
class BrHotKeyService
{
public:
    static BrHotKeyService &instance()
    {
        // Never destroyed: hot keys may outlive static destruction order.
        static auto *service = new BrHotKeyService;
        return *service;
    }

    bool setUp = false;
    std::map<quint32, BrHotKey *> dispatchTable;  // registration id → hot key
    quint32 nextKeyID = 0;
    double keyRepeatRate = 0.05;
    double keyRepeatStartInterval = 1.0;
    QPointer<BrHotKey> currentHotKey;
    bool keyPressed = false;
    quint64 currentKeyPressId = 0;
    std::unique_ptr<BrHotKeyBackend> backend;

    void setUpOnce();
    static void tearDown();
    void keyboardHandler(BrHotKeyBackend::EventKind kind, quint32 id);
    static bool repeatMayGoOn(const BrHotKey *hotKey, quint64 pressId);
    void repeatStart(QPointer<BrHotKey> hotKey, quint64 pressId);
    static void callKeyDown(BrHotKey *hotKey, bool repeat);
};

void BrHotKeyService::setUpOnce()
{
    if (setUp)
        return;
    setUp = true;
    nextKeyID = 1;
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        qCWarning(lcBramble) << "hot keys need a QGuiApplication: none will fire";
        return;
    }
    backend = BrHotKeyBackend::create(
        [this](BrHotKeyBackend::EventKind kind, quint32 id) { keyboardHandler(kind, id); });
    qCDebug(lcBramble) << "hot keys through" << backend->name();
    // The X connection closes with the application: let go of the grabs
    // while it is still open.
    qAddPostRoutine(&BrHotKeyService::tearDown);
}

void BrHotKeyService::tearDown()
{
    BrHotKeyService &s = instance();
    s.backend.reset();
    for (auto &[id, hotKey] : s.dispatchTable)
        hotKey->m_registered = false;
}

void BrHotKeyService::callKeyDown(BrHotKey *hotKey, bool repeat)
{
    // A copy: the handler may replace itself or delete its hot key.
    if (BrHotKey::KeyDownHandler handler = hotKey->m_eventKeyDown)
        handler(repeat);
}

void BrHotKeyService::keyboardHandler(BrHotKeyBackend::EventKind kind, quint32 id)
{
    if (!backend || !backend->hasKeyboard()) {
        // No handler runs, but a release still ends the held state so no
        // repeat outlives the key.
        if (kind == BrHotKeyBackend::EventKind::Released)
            keyPressed = false;
        return;
    }
    auto it = dispatchTable.find(id);
    currentHotKey = it != dispatchTable.end() ? it->second : nullptr;
    QPointer<BrHotKey> hotKey = currentHotKey;

    if (kind == BrHotKeyBackend::EventKind::Released) {
        keyPressed = false;
        if (hotKey) {
            if (BrHotKey::KeyUpHandler handler = hotKey->m_eventKeyUp)
                handler();
        }
        return;
    }

    keyPressed = true;
    const quint64 pressId = ++currentKeyPressId;
    if (!hotKey)
        return;
    callKeyDown(hotKey, false);
    if (!hotKey)
        return;
    const int delayMs = int(std::floor(keyRepeatStartInterval * 1000.0));
    brPostMainAfter(std::max(delayMs, 0), [this, hotKey, pressId] { repeatStart(hotKey, pressId); }, hotKey);
}

// A repeat belongs to the press still held, of a hot key still armed, in an
// application still active (a release that went to another application
// would otherwise never stop it).
bool BrHotKeyService::repeatMayGoOn(const BrHotKey *hotKey, quint64 pressId)
{
    const BrHotKeyService &s = instance();
    return hotKey && s.keyPressed && pressId == s.currentKeyPressId && hotKey->m_enabled && hotKey->m_registered &&
           s.backend && s.backend->hasKeyboard();
}

void BrHotKeyService::repeatStart(QPointer<BrHotKey> hotKey, quint64 pressId)
{
    if (!repeatMayGoOn(hotKey, pressId))
        return;
    callKeyDown(hotKey, true);
    if (!repeatMayGoOn(hotKey, pressId))
        return;
    BrTimer *timer = createTimer(hotKey);
    timer->setParent(hotKey); // goes with its hot key
    startTimer(timer, keyRepeatRate, [hotKey, pressId, timer] {
        if (!repeatMayGoOn(hotKey, pressId)) {
            cancelTimer(timer);
            return;
        }
        callKeyDown(hotKey, true);
    });
}

BrHotKey::BrHotKey(QObject *parent) : QObject(parent) {}

BrHotKey::~BrHotKey()
{
    unregisterHotKey();
    auto &table = BrHotKeyService::instance().dispatchTable;
    auto it = table.find(m_keyID);
    if (it != table.end() && it->second == this)
        table.erase(it);
}

void BrHotKey::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    auto &table = BrHotKeyService::instance().dispatchTable;
    if (enabled) {
        registerHotKey();
        table[m_keyID] = this;
    } else {
        unregisterHotKey();
        auto it = table.find(m_keyID);
        if (it != table.end() && it->second == this)
            table.erase(it);
    }
}

void BrHotKey::registerHotKey()
{
    if (m_registered)
        return;
    BrHotKeyService &s = BrHotKeyService::instance();
    s.setUpOnce();
    // The id is taken at the first attempt, even a failed one, so every hot
    // key has its own entry in the dispatch table.
    if (m_keyID == 0)
        m_keyID = s.nextKeyID++;

    const auto mapping = brKeyMappingForKeyCode(m_keyCode);
    if (!mapping) {
        qCInfo(lcBramble) << "hot key" << m_keyID << ": key code" << m_keyCode << "names no key";
        return;
    }
    if (!s.backend)
        return;
    BrKeyGrab grab;
    grab.keysym = mapping->keysym;
    grab.qtKey = mapping->qtKey;
    grab.shiftedQtKey = mapping->shiftedQtKey;
    grab.keypad = mapping->keypad;
    grab.modifiers.setFlag(Qt::ControlModifier, m_commandKey);
    grab.modifiers.setFlag(Qt::AltModifier, m_optionKey);
    grab.modifiers.setFlag(Qt::MetaModifier, m_controlKey);
    grab.modifiers.setFlag(Qt::ShiftModifier, m_shiftKey);
    if (s.backend->grab(m_keyID, grab))
        m_registered = true;
    else
        qCInfo(lcBramble) << "hot key" << m_keyID << description() << "could not be registered";
}

void BrHotKey::unregisterHotKey()
{
    if (!m_registered)
        return;
    m_registered = false;
    BrHotKeyService &s = BrHotKeyService::instance();
    if (s.backend)
        s.backend->ungrab(m_keyID);
}

void BrHotKey::updateHotKey()
{
    unregisterHotKey();
    if (m_enabled)
        registerHotKey();
}

namespace {
bool readBool(const QVariantMap &dictionary, const QString &key)
{
    return dictionary.value(key).toBool();
}

quint16 readKeyCode(const QVariantMap &dictionary)
{
    const QVariant value = dictionary.value(QStringLiteral("KeyCode"));
    if (!value.isValid())
        return 0;
    bool ok = false;
    const qlonglong code = value.toLongLong(&ok);
    if (!ok || code < 0 || code > 0xFFFF) {
        qCWarning(lcBramble) << "hot key record: KeyCode" << value << "is no key code; using 0";
        return 0;
    }
    return quint16(code);
}
} // namespace

void BrHotKey::loadFromDictionary(const QVariantMap &dictionary)
{
    unregisterHotKey();
    auto &table = BrHotKeyService::instance().dispatchTable;
    auto it = table.find(m_keyID);
    if (it != table.end() && it->second == this)
        table.erase(it);

    m_commandKey = readBool(dictionary, QStringLiteral("CommandKey"));
    m_optionKey = readBool(dictionary, QStringLiteral("OptionKey"));
    m_controlKey = readBool(dictionary, QStringLiteral("ControlKey"));
    m_shiftKey = readBool(dictionary, QStringLiteral("ShiftKey"));
    m_keyCode = readKeyCode(dictionary);

    if (m_enabled) {
        registerHotKey();
        table[m_keyID] = this;
    }
}

void BrHotKey::saveToDictionary(QVariantMap &dictionary) const
{
    dictionary.insert(QStringLiteral("CommandKey"), m_commandKey);
    dictionary.insert(QStringLiteral("OptionKey"), m_optionKey);
    dictionary.insert(QStringLiteral("ControlKey"), m_controlKey);
    dictionary.insert(QStringLiteral("ShiftKey"), m_shiftKey);
    dictionary.insert(QStringLiteral("KeyCode"), int(m_keyCode));
}

QString BrHotKey::description() const
{
    return brDescribeKeyCombination(m_keyCode, m_commandKey, m_optionKey, m_controlKey, m_shiftKey);
}

void BrHotKey::disableAllHotKeys()
{
    BrHotKeyService &s = BrHotKeyService::instance();
    // Unregistering may not call back into the table, but a copy keeps
    // the walk safe whatever happens.
    const auto table = s.dispatchTable;
    for (const auto &[id, hotKey] : table) {
        hotKey->unregisterHotKey();
        hotKey->m_enabled = false;
    }
    s.dispatchTable.clear();
}

void BrHotKey::hotKeyRepeatRate(double seconds)
{
    if (!(seconds > 0.0) || !std::isfinite(seconds)) {
        qCWarning(lcBramble) << "hot key repeat rate must be a positive number of seconds:" << seconds;
        return;
    }
    BrHotKeyService::instance().keyRepeatRate = seconds;
}

double BrHotKey::keyRepeatRate()
{
    return BrHotKeyService::instance().keyRepeatRate;
}

void BrHotKey::hotKeyRepeatStartInterval(double seconds)
{
    if (!(seconds >= 0.0) || !std::isfinite(seconds)) {
        qCWarning(lcBramble) << "hot key repeat start interval must be a number of seconds:" << seconds;
        return;
    }
    BrHotKeyService::instance().keyRepeatStartInterval = seconds;
}

double BrHotKey::keyRepeatStartInterval()
{
    return BrHotKeyService::instance().keyRepeatStartInterval;
}

QList<BrHotKey *> BrHotKey::dispatchTable()
{
    QList<BrHotKey *> list;
    for (const auto &[id, hotKey] : BrHotKeyService::instance().dispatchTable)
        list << hotKey;
    return list;
}

bool BrHotKey::isKeyPressed()
{
    return BrHotKeyService::instance().keyPressed;
}

bool BrHotKey::grabsSystemWide()
{
    BrHotKeyService &s = BrHotKeyService::instance();
    s.setUpOnce();
    return s.backend && s.backend->systemWide();
}
