#include "files/FileListViewController.h"

#include "files/FileListCellView.h"
#include "files/FileListTableView.h"

#include <bramble/BrDispatch.h>

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QVBoxLayout>

// The table's view of the item array. It holds no copy: it reads the array
// it is pointed at, and is reset whenever the array may have changed shape.
class FileListViewController::Model : public QAbstractTableModel
{
public:
    explicit Model(FileListViewController *owner) : QAbstractTableModel(owner), m_owner(owner) {}

    int rowCount(const QModelIndex &parent = {}) const override
    {
        const QList<FileListItem> *items = m_owner->fileListItems();
        return parent.isValid() || !items ? 0 : int(items->size());
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : 1;
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        const FileListItem *item = m_owner->itemAt(index.row());
        if (!item)
            return {};
        switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            return item->fileName;
        case Qt::CheckStateRole:
            if (item->checkBoxHidden)
                return {};
            return item->checked ? Qt::Checked : Qt::Unchecked;
        default:
            return {};
        }
    }

    // Read by screen readers only (the headers are hidden).
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        if (orientation == Qt::Horizontal)
            return QStringLiteral("File name");
        return section + 1;
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        const FileListItem *item = m_owner->itemAt(index.row());
        if (!item)
            return Qt::NoItemFlags;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (!item->checkBoxHidden)
            f |= Qt::ItemIsUserCheckable;
        return f;
    }

    void resetAll()
    {
        beginResetModel();
        endResetModel();
    }
    void changedAll()
    {
        const int n = rowCount();
        if (n > 0)
            emit dataChanged(index(0, 0), index(n - 1, 0), {Qt::DisplayRole, Qt::CheckStateRole});
    }
    void changedRow(int row)
    {
        emit dataChanged(index(row, 0), index(row, 0), {Qt::CheckStateRole});
    }

private:
    FileListViewController *m_owner;
};

FileListViewController::FileListViewController(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FileListViewController"));
    m_tableView = new FileListTableView(this);
    m_cellView = new FileListCellView(this);
    m_model = new Model(this);
    m_tableView->setItemDelegate(m_cellView);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tableView);
}

FileListViewController::~FileListViewController()
{
    cleanUp();
}

QWidget *FileListViewController::firstResponder() const
{
    return m_tableView;
}

FileListItem *FileListViewController::itemAt(int row) const
{
    if (!m_fileListItems || row < 0 || row >= m_fileListItems->size())
        return nullptr;
    return &(*m_fileListItems)[row];
}

QColor FileListViewController::cellBackgroundColor() const
{
    return m_cellView->backgroundColor;
}
QColor FileListViewController::cellTextColor() const
{
    return m_cellView->textColor;
}
QColor FileListViewController::cellHilightColor() const
{
    return m_cellView->hilightColor;
}
QColor FileListViewController::cellHilightTextColor() const
{
    return m_cellView->hilightTextColor;
}

void FileListViewController::setCellBackgroundColor(const QColor &color)
{
    m_cellView->backgroundColor = color;
    QPalette p = m_tableView->palette();
    p.setColor(QPalette::Base, color);
    m_tableView->setPalette(p);
    update();
}

void FileListViewController::setCellTextColor(const QColor &color)
{
    m_cellView->textColor = color;
    update();
}

void FileListViewController::setCellHilightColor(const QColor &color)
{
    m_cellView->hilightColor = color;
    update();
}

void FileListViewController::setCellHilightTextColor(const QColor &color)
{
    m_cellView->hilightTextColor = color;
    update();
}

void FileListViewController::reload()
{
    if (!m_tableView->model()) {
        m_tableView->setModel(m_model);
        connect(m_tableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &FileListViewController::onSelectionChanged);
    }
    if (!m_listening) {
        m_listening = true;
        connect(m_cellView, &FileListCellView::mouseDownInCell, this,
                &FileListViewController::onMouseDownInCell);
        connect(m_cellView, &FileListCellView::checkBoxClickedInCell, this,
                &FileListViewController::onCheckBoxClickedInCell);
    }
    m_tableView->verticalHeader()->setDefaultSectionSize(m_cellView->rowHeight());
    m_tableView->verticalHeader()->setMinimumSectionSize(1);
    m_tableView->eventEnterKeyDown = [this] { itemClicked(); };
    m_tableView->eventSpaceKeyDown = [this] { itemClicked(); };

    m_curSelectedRow = -1;
    m_cellView->setHilightedRow(-1);
    m_model->resetAll();
    QPointer<FileListViewController> self(this);
    brPostMain(
        [self] {
            if (self)
                self->selectRow(0);
        },
        this);
}

void FileListViewController::update()
{
    m_model->changedAll();
    m_tableView->viewport()->update();
}

void FileListViewController::cleanUp()
{
    if (!m_listening)
        return;
    m_listening = false;
    disconnect(m_cellView, nullptr, this, nullptr);
}

void FileListViewController::selectRow(int row)
{
    m_tableView->selectRowIndex(row);
}

void FileListViewController::itemClicked()
{
    const int row = m_curSelectedRow;
    FileListItem *item = itemAt(row);
    if (!item)
        return;
    if (item->checkBoxHidden) {
        if (eventItemClicked)
            eventItemClicked(*item, row);
        return;
    }
    toggle(row, std::nullopt);
}

// Ticks (or sets) the check box of `row` and tells the browser.
void FileListViewController::toggle(int row, std::optional<bool> value)
{
    FileListItem *item = itemAt(row);
    if (!item || item->checkBoxHidden)
        return;
    item->checked = value.value_or(!item->checked);
    m_model->changedRow(row);
    if (eventItemCheckBoxClicked)
        eventItemCheckBoxClicked(*item, row);
}

void FileListViewController::selectRowFrom(int row, bool fromMouseDown, bool fromCheckBox)
{
    m_selectionChangedFromMouseDown = fromMouseDown;
    m_selectionChangedFromCheckBox = fromCheckBox;
    selectRow(row);
    m_selectionChangedFromMouseDown = false;
    m_selectionChangedFromCheckBox = false;
}

void FileListViewController::onMouseDownInCell(int row)
{
    if (!itemAt(row))
        return;
    selectRowFrom(row, true, false);
    if (eventItemClicked)
        eventItemClicked(*itemAt(row), row);
    // The handler may have run a window during which the list was replaced.
    if (FileListItem *item = itemAt(row); item && !item->checkBoxHidden)
        toggle(row, std::nullopt);
}

void FileListViewController::onCheckBoxClickedInCell(int row, bool value)
{
    if (!itemAt(row))
        return;
    selectRowFrom(row, true, true);
    if (eventItemClicked)
        eventItemClicked(*itemAt(row), row);
    toggle(row, value);
}

void FileListViewController::onSelectionChanged()
{
    const int row = m_tableView->selectedRow();
    const int old = m_curSelectedRow;
    if (row == old)
        return;
    m_curSelectedRow = row;
    m_cellView->setHilightedRow(row);
    for (int r : {old, row}) {
        if (r >= 0 && m_tableView->model())
            m_tableView->update(m_tableView->model()->index(r, 0));
    }
    FileListItem *item = itemAt(row);
    if (item && eventSelectionChanged)
        eventSelectionChanged(*item, row, m_selectionChangedFromMouseDown,
                              m_selectionChangedFromCheckBox);
}
