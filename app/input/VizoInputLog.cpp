#include "input/VizoInputLog.h"

Q_LOGGING_CATEGORY(lcVizoInput, "vizo.input", QtWarningMsg)
