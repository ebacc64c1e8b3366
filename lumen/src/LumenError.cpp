#include <lumen/LumenError.h>

LumenError::LumenError(const QString &reason)
    : std::runtime_error(reason.toStdString()), m_reason(reason)
{
}
