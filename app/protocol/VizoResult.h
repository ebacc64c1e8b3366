#pragma once
// A value or the reason there is none. Builders that may refuse their input
// (an over-long path or password) return this, so a refusal cannot be
// mistaken for something to send.
#include <QString>

#include <optional>
#include <utility>

template <typename T>
class VizoResult
{
public:
    VizoResult(T value) : m_value(std::move(value)) {}
    static VizoResult failure(QString error) { return VizoResult(std::move(error), 0); }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const T &value() const { return *m_value; }
    T &value() { return *m_value; }
    const T &operator*() const { return *m_value; }
    const T *operator->() const { return &*m_value; }
    const QString &error() const { return m_error; }

private:
    VizoResult(QString error, int) : m_error(std::move(error)) {}
    std::optional<T> m_value;
    QString m_error;
};
