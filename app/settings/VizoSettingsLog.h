#pragma once
// Diagnostics of the settings model, option file, tables and file lists.
// Warnings show by default; debug lines only when enabled.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcVizoSettings)
