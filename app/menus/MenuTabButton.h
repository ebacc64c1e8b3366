#pragma once
// A tab of the menu header. It looks and clicks like a flat button, but
// screen readers are told what it is: a page tab, selected when its tree is
// the one shown, inside a tab list (the header). A checkable push button
// would be announced as a check box.
#include <QPushButton>

class MenuTabButton : public QPushButton
{
    Q_OBJECT

public:
    explicit MenuTabButton(QWidget *parent = nullptr);

    // Makes the header (`headerClass`) a tab list and its MenuTabButtons
    // page tabs for the accessibility layer; once per process.
    static void installAccessibility(const char *headerClass);
};
