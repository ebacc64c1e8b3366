#include "bramble/BrNotificationCenter.h"

#include "bramble/BrDispatch.h"

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QThread>

#include <algorithm>
#include <vector>

struct BrNotificationCenter::Private
{
    struct Entry
    {
        quint64 id;
        QString name;
        QPointer<QObject> context;
        std::function<void()> fn;
    };
    std::vector<Entry> entries;
    quint64 nextId = 1;
    // Context of the destroyed() connections: they end with the centre.
    QObject guard;

    void prune()
    {
        std::erase_if(entries, [](const Entry &e) { return e.context.isNull(); });
    }
};

BrNotificationCenter::BrNotificationCenter() : d(std::make_unique<Private>()) {}

BrNotificationCenter::~BrNotificationCenter() = default;

BrNotificationCenter &BrNotificationCenter::defaultCenter()
{
    static BrNotificationCenter center;
    return center;
}

void BrNotificationCenter::post(const QString &name)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (app && QThread::currentThread() != app->thread()) {
        brPostMain([this, name] { post(name); }, &d->guard);
        return;
    }
    // Observers may change the list while they run: call a snapshot of ids,
    // skipping any entry that has gone in the meantime.
    std::vector<quint64> ids;
    for (const auto &e : d->entries)
        if (e.name == name && e.context)
            ids.push_back(e.id);
    for (quint64 id : ids) {
        auto it = std::find_if(d->entries.begin(), d->entries.end(),
                               [id](const Private::Entry &e) { return e.id == id; });
        if (it == d->entries.end() || !it->context)
            continue;
        std::function<void()> fn = it->fn; // the entry may be erased by the call
        if (fn)
            fn();
    }
}

void BrNotificationCenter::observe(const QString &name, QObject *context, std::function<void()> fn)
{
    if (!context || !fn)
        return;
    d->prune();
    const bool known =
        std::any_of(d->entries.begin(), d->entries.end(),
                    [context](const Private::Entry &e) { return e.context == context; });
    d->entries.push_back({d->nextId++, name, context, std::move(fn)});
    if (!known)
        QObject::connect(context, &QObject::destroyed, &d->guard, [this] { d->prune(); });
}

void BrNotificationCenter::removeObserver(const QString &name, QObject *context)
{
    std::erase_if(d->entries, [&](const Private::Entry &e) {
        return e.context.isNull() || (e.context == context && e.name == name);
    });
}

void BrNotificationCenter::removeObserver(QObject *context)
{
    std::erase_if(d->entries, [&](const Private::Entry &e) {
        return e.context.isNull() || e.context == context;
    });
}

int BrNotificationCenter::observerCount(const QString &name) const
{
    return int(std::count_if(d->entries.begin(), d->entries.end(), [&](const Private::Entry &e) {
        return e.name == name && !e.context.isNull();
    }));
}
