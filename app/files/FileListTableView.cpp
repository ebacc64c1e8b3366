#include "files/FileListTableView.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>

FileListTableView::FileListTableView(QWidget *parent) : QTableView(parent)
{
    setObjectName(QStringLiteral("tableView"));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    setShowGrid(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setFocusPolicy(Qt::StrongFocus);
    // Every row has the same height: the view never measures thousands.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
}

int FileListTableView::selectedRow() const
{
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void FileListTableView::selectRowIndex(int row)
{
    if (!model() || row < 0 || row >= model()->rowCount())
        return;
    const QModelIndex index = model()->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    scrollTo(index);
}

void FileListTableView::keyPressEvent(QKeyEvent *event)
{
    auto run = [event](const std::function<void()> &handler) {
        event->accept();
        if (!event->isAutoRepeat() && handler)
            handler();
    };
    const int rows = model() ? model()->rowCount() : 0;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        run(eventEnterKeyDown);
        return;
    case Qt::Key_Space:
        run(eventSpaceKeyDown);
        return;
    case Qt::Key_Escape:
        if (eventEscapeKeyDown) {
            run(eventEscapeKeyDown);
            return;
        }
        break;
    case Qt::Key_Backspace:
        if (eventBackspaceKeyDown) {
            run(eventBackspaceKeyDown);
            return;
        }
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
        // The window's: they move the keyboard between the panes.
        event->ignore();
        return;
    case Qt::Key_Down:
        if (rows > 0 && selectedRow() == rows - 1) {
            event->accept();
            selectRowIndex(0);
            return;
        }
        if (rows > 0 && selectedRow() < 0) {
            event->accept();
            selectRowIndex(0);
            return;
        }
        break;
    case Qt::Key_Up:
        if (rows > 0 && selectedRow() <= 0) {
            event->accept();
            selectRowIndex(rows - 1);
            return;
        }
        break;
    default:
        break;
    }
    QTableView::keyPressEvent(event);
}

void FileListTableView::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    if (eventNeedsUpdateUI)
        eventNeedsUpdateUI();
}

void FileListTableView::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    event->accept();
    setFocus(Qt::MouseFocusReason);
    if (!index.isValid() || !itemDelegate())
        return;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    itemDelegate()->editorEvent(event, model(), option, index);
}

void FileListTableView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Each press counts, as on the device's own lists.
    mousePressEvent(event);
}

void FileListTableView::mouseMoveEvent(QMouseEvent *event)
{
    // Dragging does not select.
    event->accept();
}

void FileListTableView::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
}
