#include "input/VizoHotKeyMap.h"

#include "input/VizoInputLog.h"
#include "input/VizoHotKeyWords.h"
#include "input/VizoInputNames.h"

#include <bramble/BrHotKey.h>
#include <bramble/BrKeyMap.h>
#include <bramble/BrPropertyList.h>

#include <QFile>
#include <QLocale>

// The hot key files are compiled into a static library: nothing refers to
// their object file, so they are registered by hand (outside any namespace,
// as the resource's initialiser is declared where it is used).
static void initHotKeyResources()
{
    Q_INIT_RESOURCE(hotkeys);
}

static void registerHotKeyResources()
{
    static const bool done = (initHotKeyResources(), true);
    Q_UNUSED(done);
}

VizoHotKeyMap::VizoHotKeyMap(VizoInputContext &context, QObject *parent)
    : QObject(parent), m_context(context)
{
}

VizoHotKeyMap::~VizoHotKeyMap()
{
    // Hot keys shared with others outlive this table: leave them without
    // handlers, which refer to the context.
    for (const std::shared_ptr<BrHotKey> &hotKey : std::as_const(m_dicShortcutHandlers)) {
        hotKey->setEnabled(false);
        hotKey->setEventKeyDown({});
        hotKey->setEventKeyUp({});
    }
}

QString VizoHotKeyMap::userLanguage()
{
    const QStringList languages = QLocale::system().uiLanguages();
    return languages.isEmpty() ? QString() : languages.first();
}

QString VizoHotKeyMap::hotKeyFileName(const QString &language)
{
    // Exact comparison: a regional code such as fr-CA keeps the default file.
    if (language == QLatin1String("fr"))
        return QStringLiteral("VizoHotKeys_%1").arg(language);
    return QStringLiteral("VizoHotKeys");
}

QString VizoHotKeyMap::hotKeyFilePath(const QString &language)
{
    return QStringLiteral(":/resources/%1.plist").arg(hotKeyFileName(language));
}

QVariantMap VizoHotKeyMap::loadHotKeyFile(const QString &language)
{
    registerHotKeyResources();
    QString error;
    const QVariant root = BrPropertyList::parseFile(hotKeyFilePath(language), &error);
    if (!root.isValid()) {
        qCWarning(lcVizoInput).noquote() << "hot key file unreadable:" << error;
        return {};
    }
    return root.toMap();
}

void VizoHotKeyMap::setupHotKeys()
{
    const QString language = userLanguage();
    qCInfo(lcVizoInput).noquote() << QStringLiteral("HotKeyFilePath: VizoHotKeys_%1").arg(language);
    setupHotKeys(loadHotKeyFile(language));
}

void VizoHotKeyMap::setupHotKeys(const QVariantMap &file)
{
    BrHotKey::hotKeyRepeatStartInterval(kRepeatStartInterval);
    for (VizoHotKeyAction &action : VizoHotKeyActions::build(m_context)) {
        std::shared_ptr<BrHotKey> &hotKey = m_dicShortcutHandlers[action.name];
        if (!hotKey)
            hotKey = std::make_shared<BrHotKey>();
        hotKey->loadFromDictionary(file.value(action.name).toMap());
        const QString name = action.name;
        auto up = std::move(action.keyUp);
        hotKey->setEventKeyDown([this, name, up, down = std::move(action.keyDown)](bool repeat) {
            if (!repeat)
                m_held.insert(name, up);
            down(repeat);
        });
        hotKey->setEventKeyUp([this, name, up] {
            m_held.remove(name);
            if (up)
                up();
        });
    }
}

VizoHotKeyArming VizoHotKeyMap::updateHotKeys(const VizoInputState &state)
{
    BrHotKey::disableAllHotKeys();
    const VizoHotKeyArming arming = VizoHotKeyRules::arming(state);
    if (arming.stoppedByDisableHotKeys)
        qCInfo(lcVizoInput).noquote() << "*** updateHotKeys: disableHotKeys";
    qCDebug(lcVizoInput).noquote() << "hot keys armed:" << arming.armed.join(QLatin1Char(' '));
    for (const QString &name : arming.armed)
        if (const std::shared_ptr<BrHotKey> hotKey = m_dicShortcutHandlers.value(name))
            hotKey->setEnabled(true);
    // A key disarmed while held gets no release from the system: send what
    // its release sends now (stop moving, stop zooming), so the device does
    // not go on after the user let go.
    const QStringList held = m_held.keys();
    for (const QString &name : held) {
        if (arming.armed.contains(name))
            continue;
        const std::function<void()> up = m_held.take(name);
        if (up)
            up();
    }
    const VizoInputHooks &hooks = m_context.hooks();
    if (arming.enableMenuHotKeys && hooks.enableMenuHotKeys)
        hooks.enableMenuHotKeys();
    if (arming.refreshModalWindows && hooks.refreshModalWindows)
        hooks.refreshModalWindows();
    return arming;
}

QString VizoHotKeyMap::describeRecord(const QVariantMap &record)
{
    return brDescribeKeyCombination(quint16(record.value(QStringLiteral("KeyCode")).toUInt()),
                                    record.value(QStringLiteral("CommandKey")).toBool(),
                                    record.value(QStringLiteral("OptionKey")).toBool(),
                                    record.value(QStringLiteral("ControlKey")).toBool(),
                                    record.value(QStringLiteral("ShiftKey")).toBool());
}

QString VizoHotKeyMap::listHotKeysText(const QVariantMap &file)
{
    QList<QPair<QString, QString>> keys;
    for (const QString &name : VizoInputNames::hotKeyActions())
        keys << qMakePair(name, describeRecord(file.value(name).toMap()));
    // Each line ends with the action's name, which the hot key files use.
    QString text;
    for (const VizoHotKeyWords::Group &group : VizoHotKeyWords::grouped(keys)) {
        text += group.name + QStringLiteral(":\n");
        for (const auto &[name, combination] : keys) {
            if (VizoHotKeyWords::entry(name).group == group.name)
                text += QStringLiteral("  %1  [%2]\n").arg(VizoHotKeyWords::line(combination, name), name);
        }
        text += QLatin1Char('\n');
    }
    return text;
}

QString VizoHotKeyMap::listHotKeysText()
{
    return listHotKeysText(loadHotKeyFile(userLanguage()));
}
