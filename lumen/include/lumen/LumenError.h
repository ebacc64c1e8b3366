#pragma once
// The error Lumen raises when a capture controller cannot be created.
#include <QString>

#include <stdexcept>

class LumenError : public std::runtime_error
{
public:
    explicit LumenError(const QString &reason);

    // A sentence for the user, e.g. the text of a message box.
    QString reason() const { return m_reason; }

private:
    QString m_reason;
};
