#pragma once
// Diagnostics of the device link, in the "vizo.link" category. The texts the
// design gives for port set-up and link failures keep their wording. What
// is expected on a working link (the port's settings, requests a
// pseudo-terminal refuses) is debug output, shown with --verbose or
// QT_LOGGING_RULES; real failures are warnings on standard error.
#include <QLoggingCategory>
#include <QString>

Q_DECLARE_LOGGING_CATEGORY(lcVizoLink)

// One line each; a final line feed in `line` is dropped.
void vizoLinkDebug(const QString &line);
void vizoLinkWarning(const QString &line);
