#pragma once
// The application-wide stack of modal windows and the open tree menu.
// Bottom is index 0, the top is the last element. Main thread only.
//
// Entries are guarded pointers: a window that is destroyed without closing
// (which should not happen) leaves an empty entry instead of a dangling one;
// walkers skip empty entries.
#include <QList>
#include <QObject>
#include <QPointer>

class Stack
{
public:
    void push(QObject *object);
    // Removes and returns the top, or nullptr when empty.
    QObject *pop();
    // The top without removing it, or nullptr when empty.
    QObject *top() const;
    // Index from the bottom; the caller keeps it below count().
    QObject *at(qsizetype index) const;
    qsizetype count() const { return m_items.size(); }

    // Removes the topmost entry that is `object`; true when one was found.
    bool remove(QObject *object);
    bool contains(const QObject *object) const;

    // Topmost entry of type T, or nullptr.
    template <typename T>
    T *topmostOf() const
    {
        for (qsizetype i = m_items.size() - 1; i >= 0; --i) {
            if (auto *t = qobject_cast<T *>(m_items.at(i).data()))
                return t;
        }
        return nullptr;
    }

private:
    QList<QPointer<QObject>> m_items;
};
