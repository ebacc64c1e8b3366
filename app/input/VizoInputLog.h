#pragma once
#include <QLoggingCategory>

// Diagnostics of the input layer; quiet unless "vizo.input" is switched on.
Q_DECLARE_LOGGING_CATEGORY(lcVizoInput)
