#pragma once
// The table of a file list: one column, one painted row per file. Return and
// Space are handed to the list controller (repeats ignored); Down on the
// last row wraps to the first and Up on the first to the last; Left and
// Right travel on to the window, which moves the keyboard between its
// panes. Main thread only.
#include <QTableView>

#include <functional>

class FileListTableView : public QTableView
{
    Q_OBJECT

public:
    explicit FileListTableView(QWidget *parent = nullptr);

    std::function<void()> eventEnterKeyDown;
    std::function<void()> eventSpaceKeyDown;
    std::function<void()> eventEscapeKeyDown;
    std::function<void()> eventBackspaceKeyDown;
    std::function<void()> eventNeedsUpdateUI;

    // Makes `row` the current, selected row and scrolls it into view.
    void selectRowIndex(int row);
    int selectedRow() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // A press goes to the row's cell view, which reports it; the list
    // controller then moves the selection, flagged as coming from the mouse.
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
