#include "LumenLog.h"

// Quiet by default; QT_LOGGING_RULES="vizo.lumen.debug=true" shows it.
Q_LOGGING_CATEGORY(lcLumen, "vizo.lumen", QtWarningMsg)
