#pragma once
// The one-column table of a menu level. It turns Return, Space, Escape and
// Backspace into handlers (a held key does not repeat them), wraps Up and
// Down around the ends, and swallows the mouse wheel: a menu moves only by
// keys and its page buttons. Main thread only.
#include <QPointer>
#include <QTableView>
#include <functional>

class TreeMenuTableView : public QTableView
{
    Q_OBJECT

public:
    explicit TreeMenuTableView(QWidget *parent = nullptr);
    ~TreeMenuTableView() override;

    std::function<void()> eventEnterKeyDown;
    std::function<void()> eventSpaceKeyDown;
    std::function<void()> eventEscapeKeyDown;
    std::function<void()> eventBackspaceKeyDown;
    // Run after the current row has moved.
    std::function<void()> eventUpArrowKey;
    std::function<void()> eventDownArrowKey;

    // Dispatches a key press. The application may hand a key to a table
    // that does not have the focus (for example Escape to close the
    // innermost level): Return, Escape and Backspace then go to the focused
    // menu table.
    void keyDown(QKeyEvent *event);

    int numberOfRows() const;
    // The current row, or -1.
    int selectedRow() const;
    // Makes `row` the current (and only selected) row.
    void selectRowIndex(int row);
    // Scrolls every enclosing scroll area so that `row` is in sight.
    void scrollRowToVisible(int row);

    // The widget drawn for each row, in row order (kept by the controller).
    void setRowWidgets(const QList<QWidget *> &widgets);
    QWidget *rowWidget(int row) const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

private:
    QList<QPointer<QWidget>> m_rowWidgets;
};
