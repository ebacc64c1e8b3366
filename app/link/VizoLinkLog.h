#pragma once
// Diagnostics of the device link. The texts the design gives for port set-up
// and link failures are printed on standard output as they stand; anything
// beyond them goes to the quiet "vizo.link" category.
#include <QLoggingCategory>
#include <QString>

Q_DECLARE_LOGGING_CATEGORY(lcVizoLink)

// Prints one line on standard output (a missing final line feed is added).
void vizoLinkPrint(const QString &line);
