#include "Stack.h"

void Stack::push(QObject *object)
{
    m_items.append(QPointer<QObject>(object));
}

QObject *Stack::pop()
{
    if (m_items.isEmpty())
        return nullptr;
    return m_items.takeLast().data();
}

QObject *Stack::top() const
{
    return m_items.isEmpty() ? nullptr : m_items.last().data();
}

QObject *Stack::at(qsizetype index) const
{
    return m_items.at(index).data();
}

bool Stack::remove(QObject *object)
{
    for (qsizetype i = m_items.size() - 1; i >= 0; --i) {
        if (m_items.at(i).data() == object) {
            m_items.removeAt(i);
            return true;
        }
    }
    return false;
}

bool Stack::contains(const QObject *object) const
{
    for (const auto &item : m_items) {
        if (item.data() == object)
            return true;
    }
    return false;
}
