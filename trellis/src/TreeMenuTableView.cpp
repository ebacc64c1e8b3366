#include <trellis/TreeMenuTableView.h>

#include "TrellisAccessible.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollArea>
#include <QScrollBar>

TreeMenuTableView::TreeMenuTableView(QWidget *parent) : QTableView(parent)
{
    TrellisAccessible::install();
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setStretchLastSection(true);
    setShowGrid(false);
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFocusPolicy(Qt::StrongFocus);
}

TreeMenuTableView::~TreeMenuTableView() = default;

int TreeMenuTableView::numberOfRows() const
{
    return model() ? model()->rowCount() : 0;
}

int TreeMenuTableView::selectedRow() const
{
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TreeMenuTableView::selectRowIndex(int row)
{
    if (!model() || !selectionModel() || row < 0 || row >= numberOfRows())
        return;
    selectionModel()->setCurrentIndex(model()->index(row, 0), QItemSelectionModel::ClearAndSelect |
                                                                  QItemSelectionModel::Rows);
}

void TreeMenuTableView::scrollRowToVisible(int row)
{
    if (row < 0 || row >= numberOfRows())
        return;
    // The table is as tall as its rows and sits in a scroll area, which may
    // itself sit inside a row of an outer menu: bring the row into sight in
    // every enclosing scroll area, innermost first.
    const QRect rowRect(0, rowViewportPosition(row) + viewport()->y(), width(), rowHeight(row));
    QWidget *inner = this;
    QRect rect = rowRect;
    for (QWidget *w = parentWidget(); w; w = w->parentWidget()) {
        auto *area = qobject_cast<QScrollArea *>(w);
        if (!area || !area->widget())
            continue;
        const QRect r(inner->mapTo(area->widget(), rect.topLeft()), rect.size());
        QScrollBar *bar = area->verticalScrollBar();
        const int view = area->viewport()->height();
        int value = bar->value();
        if (r.height() > view || r.top() < value)
            value = r.top();
        else if (r.bottom() + 1 > value + view)
            value = r.bottom() + 1 - view;
        bar->setValue(value);
        inner = area->widget();
        rect = QRect(r.topLeft(), r.size());
    }
}

void TreeMenuTableView::setRowWidgets(const QList<QWidget *> &widgets)
{
    m_rowWidgets.clear();
    for (QWidget *w : widgets)
        m_rowWidgets.append(w);
}

QWidget *TreeMenuTableView::rowWidget(int row) const
{
    return row >= 0 && row < m_rowWidgets.size() ? m_rowWidgets.at(row).data() : nullptr;
}

void TreeMenuTableView::keyPressEvent(QKeyEvent *event)
{
    // A key that a nested menu's table left unhandled bubbles up through its
    // parents to this table: it is not this table's to act on.
    if (QApplication::focusWidget() && QApplication::focusWidget() != this) {
        event->ignore();
        return;
    }
    keyDown(event);
}

void TreeMenuTableView::keyDown(QKeyEvent *event)
{
    QPointer<TreeMenuTableView> self(this);
    auto run = [](const std::function<void()> &handler) {
        if (handler)
            handler();
    };
    const int key = event->key();
    const bool isReturn = key == Qt::Key_Return || key == Qt::Key_Enter;
    QWidget *focus = QApplication::focusWidget();
    if (!focus)
        focus = window()->focusWidget();
    auto *focusedTable = qobject_cast<TreeMenuTableView *>(focus);

    if (focusedTable == this || (!focus && hasFocus())) {
        if (!event->isAutoRepeat()) {
            if (isReturn || key == Qt::Key_Space || key == Qt::Key_Escape) {
                event->accept();
                run(isReturn               ? eventEnterKeyDown
                    : key == Qt::Key_Space ? eventSpaceKeyDown
                                           : eventEscapeKeyDown);
                return;
            }
            if (key == Qt::Key_Backspace) {
                run(eventBackspaceKeyDown);
                if (!self)
                    return;
            }
        }
    } else if (focusedTable) {
        if (!event->isAutoRepeat()) {
            QPointer<TreeMenuTableView> other(focusedTable);
            if (isReturn || key == Qt::Key_Escape) {
                event->accept();
                run(isReturn ? other->eventEnterKeyDown : other->eventEscapeKeyDown);
                return;
            }
            if (key == Qt::Key_Space) {
                event->accept();
                run(eventSpaceKeyDown);
                return;
            }
            if (key == Qt::Key_Backspace) {
                run(other->eventBackspaceKeyDown);
                if (!self)
                    return;
            }
        }
    } else {
        QTableView::keyPressEvent(event);
        return;
    }

    const int rows = numberOfRows();
    if (key == Qt::Key_Down || key == Qt::Key_Up) {
        event->accept();
        const bool down = key == Qt::Key_Down;
        // The handler runs once the selection has moved.
        QMetaObject::invokeMethod(
            this,
            [self, down] {
                if (self && (down ? self->eventDownArrowKey : self->eventUpArrowKey))
                    (down ? self->eventDownArrowKey : self->eventUpArrowKey)();
            },
            Qt::QueuedConnection);
        const int current = selectedRow();
        if (rows > 0 && down && current == rows - 1) {
            selectRowIndex(0);
        } else if (rows > 0 && !down && current == 0) {
            selectRowIndex(rows - 1);
        } else if (rows > 0 && current < 0) {
            selectRowIndex(down ? 0 : rows - 1);
        } else if (rows > 0) {
            // One row on: the selection logic of the controller then skips
            // disabled rows and keeps an edited row current.
            selectRowIndex(current + (down ? 1 : -1));
        }
        if (self)
            scrollRowToVisible(selectedRow());
        return;
    }
    if ((key == Qt::Key_Home || key == Qt::Key_End) && rows > 0) {
        event->accept();
        selectRowIndex(key == Qt::Key_Home ? 0 : rows - 1);
        if (self)
            scrollRowToVisible(selectedRow());
        return;
    }
    if (key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Backspace ||
        key == Qt::Key_Escape || isReturn || key == Qt::Key_Space) {
        // Held keys and keys already handled above: never searched as text.
        event->ignore();
        return;
    }
    QTableView::keyPressEvent(event);
}

void TreeMenuTableView::wheelEvent(QWheelEvent *event)
{
    event->accept();
}

void TreeMenuTableView::mousePressEvent(QMouseEvent *event)
{
    // A click below the last row must not clear the current row.
    // Rows take their own clicks; one that reaches the table fell between
    // two rows and only selects. A click below the last row changes nothing.
    event->accept();
    setFocus(Qt::MouseFocusReason);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid())
        selectRowIndex(index.row());
}

void TreeMenuTableView::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    TrellisAccessible::notifyFocus(this, selectedRow());
}

void TreeMenuTableView::scrollTo(const QModelIndex &, ScrollHint)
{
    // The table never scrolls itself: it is as tall as its rows, and the
    // enclosing scroll area does the scrolling (scrollRowToVisible).
}

void TreeMenuTableView::paintEvent(QPaintEvent *)
{
    // Each row draws itself; the table shows only its background (filled
    // by the viewport) between and around the rows.
}
