#pragma once
// The logging category of the Bramble library, quiet by default.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcBramble)
