#pragma once
// Named notifications without an object, for parts that must not know each
// other ("ImageFileListDownloaded" reaches whichever file browser is open).
//
// Observers run on the main thread, synchronously inside post(), in the
// order they were added. An observer is removed automatically when its
// context object is destroyed, so a closed window never gets a late call.
// post() from another thread is forwarded to the main thread (brPostMain).
// Observers may add or remove observers, or post, from inside a call.
#include <QString>

#include <functional>
#include <memory>

class QObject;

class BrNotificationCenter
{
public:
    BrNotificationCenter();
    ~BrNotificationCenter();
    BrNotificationCenter(const BrNotificationCenter &) = delete;
    BrNotificationCenter &operator=(const BrNotificationCenter &) = delete;

    // The application-wide centre.
    static BrNotificationCenter &defaultCenter();

    // Calls every observer of `name`.
    void post(const QString &name);

    // Adds an observer of `name`; `context` must not be null.
    void observe(const QString &name, QObject *context, std::function<void()> fn);

    // Removes the observers of `name` that belong to `context`.
    void removeObserver(const QString &name, QObject *context);
    // Removes every observer that belongs to `context`.
    void removeObserver(QObject *context);

    // How many live observers `name` has.
    int observerCount(const QString &name) const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
