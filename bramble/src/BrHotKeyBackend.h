#pragma once
// What a hot key back end does: grab key combinations for registration ids
// and report presses and releases of them. One physical press gives one
// press and one release, whatever the platform's auto-repeat does.
#include <QObject>

#include <functional>
#include <map>
#include <memory>

struct BrKeyGrab
{
    quint32 keysym = 0;      // X keysym of the key
    int qtKey = 0;           // Qt key, and the one Qt reports with Shift
    int shiftedQtKey = 0;
    bool keypad = false;     // a key of the numeric keypad
    Qt::KeyboardModifiers modifiers;  // exactly these of Ctrl, Alt, Shift, Meta

    bool sameCombination(const BrKeyGrab &other) const
    {
        return keysym == other.keysym && keypad == other.keypad && modifiers == other.modifiers;
    }
};

class BrHotKeyBackend : public QObject
{
    Q_OBJECT
public:
    enum class EventKind { Pressed, Released };
    using EventSink = std::function<void(EventKind kind, quint32 id)>;

    // The X11 back end when Qt runs on xcb and its connection can be had,
    // the in-application key filter otherwise.
    static std::unique_ptr<BrHotKeyBackend> create(EventSink sink);

    ~BrHotKeyBackend() override;

    // False when this process already grabbed the same combination for
    // another id, or the platform refuses it. Logged, never shown.
    bool grab(quint32 id, const BrKeyGrab &key);
    void ungrab(quint32 id);
    bool isGrabbed(quint32 id) const { return m_grabs.count(id) != 0; }
    virtual const char *name() const = 0;
    // Whether the application has the keyboard now. Asked of the platform,
    // not of Qt's application state: that follows focus events late (and
    // not at all when the focus follows the pointer), and a box shown
    // meanwhile would ignore its keys.
    virtual bool hasKeyboard() const = 0;
    // Keys are grabbed for the whole display, not only seen by this
    // application's windows.
    virtual bool systemWide() const = 0;

protected:
    explicit BrHotKeyBackend(EventSink sink) : m_sink(std::move(sink)) {}

    virtual bool doGrab(quint32 id, const BrKeyGrab &key) = 0;
    virtual void doUngrab(quint32 id) = 0;
    void report(EventKind kind, quint32 id)
    {
        if (m_sink)
            m_sink(kind, id);
    }
    const std::map<quint32, BrKeyGrab> &grabs() const { return m_grabs; }

private:
    EventSink m_sink;
    std::map<quint32, BrKeyGrab> m_grabs;
};
