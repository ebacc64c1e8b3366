#pragma once
// The three message boxes as the application shows them: the main window's
// keys are off while a box is up, and afterwards the window that was on top
// gets its own keys back (or the main window its keys, when the menu or
// nothing was on top). Button labels come from the "Messages" table.
// Main thread only.
#include <QPointer>
#include <QString>

class AppContext;
class MessageBoxController;

namespace ModalBoxes {

// A one-button box; returns when it has closed.
void showMessageBox(AppContext &context, const QString &text);
// A question; true when the user chose Yes (closing it otherwise is No).
bool showYesNoMessageBox(AppContext &context, const QString &text);
// The buttonless "Deleting files..." box, kept in `slot` while it is shown
// (replacing an earlier one); returns when it has been closed.
void showDeleteBox(AppContext &context, QPointer<MessageBoxController> &slot);
// Closes the box in `slot`, if any, and clears the slot.
void closeDeleteBox(QPointer<MessageBoxController> &slot);

} // namespace ModalBoxes
