#include "BrLog.h"

Q_LOGGING_CATEGORY(lcBramble, "vizo.bramble", QtWarningMsg)
