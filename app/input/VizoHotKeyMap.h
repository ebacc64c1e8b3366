#pragma once
// The application's hot keys: one BrHotKey per action, its combination from
// the hot key file of the user's language, its handlers from
// VizoHotKeyActions, and the arming of exactly the set the input state calls
// for. Owned by the application delegate; main thread only.
#include "input/VizoHotKeyActions.h"
#include "input/VizoHotKeyRules.h"

#include <QMap>
#include <QObject>
#include <QVariantMap>

#include <functional>
#include <memory>

class BrHotKey;

class VizoHotKeyMap : public QObject
{
    Q_OBJECT
public:
    // The start of key repeat for every hot key of the application.
    static constexpr double kRepeatStartInterval = 0.5;

    explicit VizoHotKeyMap(VizoInputContext &context, QObject *parent = nullptr);
    ~VizoHotKeyMap() override;

    // Reads the hot key file for the user's first UI language and creates
    // the hot keys, none armed.
    void setupHotKeys();
    // The same with a given file dictionary (action name -> record).
    void setupHotKeys(const QVariantMap &file);

    // Disarms every hot key of the process (modal windows' keys too), then
    // arms the set for `state` and runs the menu and modal-window refreshes
    // the set asks for. Returns what was armed.
    VizoHotKeyArming updateHotKeys(const VizoInputState &state);

    BrHotKey *hotKey(const QString &name) const { return m_dicShortcutHandlers.value(name).get(); }
    const QMap<QString, std::shared_ptr<BrHotKey>> &dicShortcutHandlers() const
    {
        return m_dicShortcutHandlers;
    }

    // The file name for a language code: "VizoHotKeys_fr" for exactly "fr",
    // else "VizoHotKeys".
    static QString hotKeyFileName(const QString &language);
    // The resource path of that file.
    static QString hotKeyFilePath(const QString &language);
    // The parsed file for a language; empty when missing or unreadable.
    static QVariantMap loadHotKeyFile(const QString &language);
    // The user's first UI language, as the hot key file is chosen by it.
    static QString userLanguage();

    // Every action with its combination and what it does, grouped by mode
    // ("  Ctrl+Up: zoom in  [CameraMode.ZoomIn]" under "Camera:").
    static QString listHotKeysText(const QVariantMap &file);
    static QString listHotKeysText();
    // A hot key file record's combination in words ("Ctrl+Up").
    static QString describeRecord(const QVariantMap &record);

private:
    VizoInputContext &m_context;
    // Actions whose key is down; a release handler still owed when the key
    // is disarmed while held runs at the disarming.
    QMap<QString, std::function<void()>> m_held;
    QMap<QString, std::shared_ptr<BrHotKey>> m_dicShortcutHandlers;
};
