#pragma once
// The file list pane of a file browser: a table of the files of one kind,
// shown from the settings model's own item array (ticks are made in place,
// so they live in the model). It reports a chosen file, a changed check box
// and a changed selection to the browser through its handlers, and says why
// a selection changed (a mouse press, a check box). Main thread only.
#include "settings/FileListItem.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

class FileListCellView;
class FileListTableView;
class QAbstractTableModel;

class FileListViewController : public QWidget
{
    Q_OBJECT

public:
    using ItemHandler = std::function<void(FileListItem &item, int row)>;
    using SelectionHandler =
        std::function<void(FileListItem &item, int row, bool fromMouseDown, bool fromCheckBox)>;

    explicit FileListViewController(QWidget *parent = nullptr);
    ~FileListViewController() override;

    FileListTableView *tableView() const { return m_tableView; }
    FileListCellView *cellView() const { return m_cellView; }
    QWidget *firstResponder() const;

    // The shown items: the settings model's array itself (null: none).
    QList<FileListItem> *fileListItems() const { return m_fileListItems; }
    void setFileListItems(QList<FileListItem> *items) { m_fileListItems = items; }

    int curSelectedRow() const { return m_curSelectedRow; }
    bool selectionChangedFromMouseDown() const { return m_selectionChangedFromMouseDown; }
    bool selectionChangedFromCheckBox() const { return m_selectionChangedFromCheckBox; }

    QColor cellBackgroundColor() const;
    void setCellBackgroundColor(const QColor &color);
    QColor cellTextColor() const;
    void setCellTextColor(const QColor &color);
    QColor cellHilightColor() const;
    void setCellHilightColor(const QColor &color);
    QColor cellHilightTextColor() const;
    void setCellHilightTextColor(const QColor &color);

    ItemHandler eventItemClicked;
    ItemHandler eventItemCheckBoxClicked;
    SelectionHandler eventSelectionChanged;

    // Shows the items again (count, names, check boxes); the Return and
    // Space keys are wired again and row 0 is selected once the table has
    // settled.
    void reload();
    // Redraws the rows without re-reading their number.
    void update();
    // Return or Space on the table: opens the selected file, or, when its
    // check box shows, ticks or unticks it.
    void itemClicked();
    // Stops listening to the cells.
    void cleanUp();

    // Makes `row` the current row (scrolling it into view).
    void selectRow(int row);

private:
    class Model;

    void onMouseDownInCell(int row);
    void onCheckBoxClickedInCell(int row, bool value);
    void onSelectionChanged();
    // Selects `row` with the reason flags set for the change.
    void selectRowFrom(int row, bool fromMouseDown, bool fromCheckBox);
    void toggle(int row, std::optional<bool> value);
    FileListItem *itemAt(int row) const;

    FileListTableView *m_tableView = nullptr;
    FileListCellView *m_cellView = nullptr;
    Model *m_model = nullptr;
    QList<FileListItem> *m_fileListItems = nullptr;
    int m_curSelectedRow = -1;
    bool m_selectionChangedFromMouseDown = false;
    bool m_selectionChangedFromCheckBox = false;
    bool m_listening = false;
};
