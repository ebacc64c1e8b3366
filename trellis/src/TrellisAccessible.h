#pragma once
// Exposes menu rows to assistive technology. A menu table is a list whose
// children are its rows; each row reports its label as name, its kind as
// role (check box, radio button, slider, editable text, list item), its
// value (checked state, slider value, text) and whether it opens a
// sub-menu, so a screen reader can follow the current row.
class TreeMenuTableView;

namespace TrellisAccessible {

// Registers the accessible interfaces once per process.
void install();

// The row became current (sent only while its table has the focus).
void notifyFocus(TreeMenuTableView *table, int row);
void notifyNameChanged(TreeMenuTableView *table, int row);
void notifyValueChanged(TreeMenuTableView *table, int row);
void notifyStateChanged(TreeMenuTableView *table, int row);

} // namespace TrellisAccessible
