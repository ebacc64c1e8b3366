#include <trellis/TrellisController.h>

#include "CheckBoxView.h"
#include "SliderView.h"
#include "TextViewForHotKey.h"
#include "TrellisAccessible.h"
#include "TrellisCellView.h"
#include "TrellisCheckBoxCellView.h"
#include "TrellisHotKeyCellView.h"
#include "TrellisSliderCellView.h"
#include "TrellisTexEditCellView.h"
#include "ui_TrellisController.h"
#include <trellis/TreeMenuTableView.h>
#include <trellis/TrellisItemCheckBox.h>
#include <trellis/TrellisItemHotKey.h>
#include <trellis/TrellisItemRadioGroup.h>
#include <trellis/TrellisItemSlider.h>
#include <trellis/TrellisItemTextEdit.h>

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLoggingCategory>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <cmath>

Q_LOGGING_CATEGORY(lcTrellis, "vizo.trellis", QtWarningMsg)

namespace {

// Runs fn later on the main thread, unless `context` is gone by then.
template <typename Fn> void queueMain(QObject *context, Fn fn)
{
    QMetaObject::invokeMethod(context, std::move(fn), Qt::QueuedConnection);
}

// The rows draw themselves; the table paints no item and edits nothing.
class NoPaintDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *, const QStyleOptionViewItem &, const QModelIndex &) const override {}
    bool editorEvent(QEvent *, QAbstractItemModel *, const QStyleOptionViewItem &,
                     const QModelIndex &) override
    {
        return false;
    }
};

const char *identifierForKind(int kind)
{
    switch (kind) {
    case TrellisItemTypeTextEdit:
        return "TreeMenuTexEditCellView";
    case TrellisItemTypeHotKey:
        return "TreeMenuHotKeyCellView";
    case TrellisItemTypeCheckBox:
    case TrellisItemTypeRadioGroup:
        return "TreeMenuCheckBoxCellView";
    case TrellisItemTypeSlider:
        return "TreeMenuSliderCellView";
    default:
        return "TreeMenuLabelCellView";
    }
}

} // namespace

// One row per built row view; the label is the row's text for keyboard
// search. Everything else about a row lives in its view and its item.
class TrellisController::MenuModel : public QAbstractTableModel
{
public:
    explicit MenuModel(TrellisController *owner) : QAbstractTableModel(owner), m_owner(owner) {}

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_owner->m_arrayCells.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : 1;
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const TrellisItem *item = m_owner->itemAt(index.row());
        return item ? item->labelText() : QVariant();
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }
    void resetRows()
    {
        beginResetModel();
        endResetModel();
    }

private:
    TrellisController *m_owner;
};

TrellisController::TrellisController(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::TrellisController>())
{
    ui->setupUi(this);
    m_rootController = this;
    setAutoFillBackground(true);
    ui->buttonScrollUp->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    ui->buttonScrollDown->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    for (QWidget *button : {static_cast<QWidget *>(ui->buttonScrollUp),
                            static_cast<QWidget *>(ui->buttonScrollDown)}) {
        // A hidden page button keeps its place, so the rows never jump.
        QSizePolicy policy = button->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        button->setSizePolicy(policy);
        button->hide();
    }
    connect(ui->buttonScrollUp, &QAbstractButton::clicked, this,
            &TrellisController::onButtonScrollUpClicked);
    connect(ui->buttonScrollDown, &QAbstractButton::clicked, this,
            &TrellisController::onButtonScrollDownClicked);
    ui->tableView->setItemDelegate(new NoPaintDelegate(ui->tableView));
    ui->tableView->installEventFilter(this);
    ui->scrollView->installEventFilter(this);
    m_model = new MenuModel(this);
}

TrellisController::~TrellisController()
{
    // Rows hold items whose signals reach this controller: drop them first.
    for (TrellisCellView *cell : std::as_const(m_arrayCells))
        delete cell;
    m_arrayCells.clear();
}

TreeMenuTableView *TrellisController::tableView() const
{
    return ui->tableView;
}
QAbstractButton *TrellisController::buttonScrollUp() const
{
    return ui->buttonScrollUp;
}
QAbstractButton *TrellisController::buttonScrollDown() const
{
    return ui->buttonScrollDown;
}
QScrollArea *TrellisController::scrollView() const
{
    return ui->scrollView;
}

TrellisController *TrellisController::rootController() const
{
    return m_rootController ? m_rootController.data() : const_cast<TrellisController *>(this);
}

TreeMenuTableView *TrellisController::firstResponder() const
{
    // Before any table had the focus (a menu built while hidden), the
    // root's own table is where the keys belong.
    return m_firstResponder ? m_firstResponder.data() : ui->tableView;
}

TrellisItem *TrellisController::selectedMenuItem() const
{
    return m_selectedMenuItem.lock().get();
}

TrellisItem *TrellisController::itemAt(int row) const
{
    if (!m_menu || row < 0 || row >= m_menu->size())
        return nullptr;
    return m_menu->at(row).get();
}

// ---- Set-up ---------------------------------------------------------------

void TrellisController::setMenu(TrellisMenuPtr menu)
{
    if (menu != m_menu)
        removeAllCells();
    m_menu = std::move(menu);
    reload();
}

void TrellisController::setScale(float factor)
{
    m_scale = factor;
    m_rowHeight = int(m_rowHeight * factor + 0.5f);
    m_heightOfRowView = m_rowHeight + 2;
    const int buttonHeight = qMax(8, int(16 * factor + 0.5f));
    ui->buttonScrollUp->setFixedHeight(buttonHeight);
    ui->buttonScrollDown->setFixedHeight(buttonHeight);
    QFont f = ui->buttonScrollUp->font();
    f.setPixelSize(qMax(6, int(12 * factor + 0.5f)));
    ui->buttonScrollUp->setFont(f);
    ui->buttonScrollDown->setFont(f);
}

void TrellisController::setBackgroundColor(const QColor &color)
{
    m_backgroundColor = color;
    if (!color.isValid())
        return;
    for (QWidget *w : {static_cast<QWidget *>(this), ui->scrollView->viewport(),
                       static_cast<QWidget *>(ui->tableView), ui->tableView->viewport()}) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, color);
        p.setColor(QPalette::Base, color);
        w->setPalette(p);
        w->setAutoFillBackground(true);
    }
}

void TrellisController::applyCellColors(TrellisCellView *cell) const
{
    if (m_cellBackgroundColor.isValid())
        cell->backgroundColor = m_cellBackgroundColor;
    if (m_cellDisabledColor.isValid())
        cell->disabledColor = m_cellDisabledColor;
    if (m_cellDisabledTextColor.isValid())
        cell->disabledTextColor = m_cellDisabledTextColor;
    if (m_cellTextColor.isValid())
        cell->textColor = m_cellTextColor;
    if (m_cellHilightColor.isValid())
        cell->hilightColor = m_cellHilightColor;
    if (m_cellHilightTextColor.isValid())
        cell->hilightTextColor = m_cellHilightTextColor;
    if (m_cellBorderColor.isValid())
        cell->borderColor = m_cellBorderColor;
    cell->applyColors();
}

#define TRELLIS_CELL_COLOR_SETTER(Setter, field)                                                   \
    void TrellisController::Setter(const QColor &color)                                            \
    {                                                                                              \
        field = color;                                                                             \
        for (TrellisCellView * cell : std::as_const(m_arrayCells))                                 \
            applyCellColors(cell);                                                                 \
    }
TRELLIS_CELL_COLOR_SETTER(setCellBackgroundColor, m_cellBackgroundColor)
TRELLIS_CELL_COLOR_SETTER(setCellDisabledColor, m_cellDisabledColor)
TRELLIS_CELL_COLOR_SETTER(setCellDisabledTextColor, m_cellDisabledTextColor)
TRELLIS_CELL_COLOR_SETTER(setCellTextColor, m_cellTextColor)
TRELLIS_CELL_COLOR_SETTER(setCellHilightColor, m_cellHilightColor)
TRELLIS_CELL_COLOR_SETTER(setCellHilightTextColor, m_cellHilightTextColor)
TRELLIS_CELL_COLOR_SETTER(setCellBorderColor, m_cellBorderColor)
#undef TRELLIS_CELL_COLOR_SETTER

void TrellisController::paintSlider(int row, bool editing)
{
    auto *cell = qobject_cast<TrellisSliderCellView *>(m_arrayCells.value(row));
    if (!cell)
        return;
    if (editing)
        cell->setSliderColors(m_sliderBgEdit, m_sliderBorderEdit);
    else
        cell->setSliderColors(m_sliderBgNormal, m_sliderBorderNormal);
}

void TrellisController::setSliderBackgroundColorInNormalMode(const QColor &color)
{
    m_sliderBgNormal = color;
    for (int r = 0; r < m_arrayCells.size(); ++r)
        if (itemAt(r) && itemAt(r)->editState() == 0)
            paintSlider(r, false);
}
void TrellisController::setSliderBorderColorInNormalMode(const QColor &color)
{
    m_sliderBorderNormal = color;
    for (int r = 0; r < m_arrayCells.size(); ++r)
        if (itemAt(r) && itemAt(r)->editState() == 0)
            paintSlider(r, false);
}
void TrellisController::setSliderBackgroundColorInEditMode(const QColor &color)
{
    m_sliderBgEdit = color;
    for (int r = 0; r < m_arrayCells.size(); ++r)
        if (itemAt(r) && itemAt(r)->editState() == 1)
            paintSlider(r, true);
}
void TrellisController::setSliderBorderColorInEditMode(const QColor &color)
{
    m_sliderBorderEdit = color;
    for (int r = 0; r < m_arrayCells.size(); ++r)
        if (itemAt(r) && itemAt(r)->editState() == 1)
            paintSlider(r, true);
}

void TrellisController::setDisabled(bool disabled)
{
    if (disabled == m_disabled) {
        ui->buttonScrollUp->setEnabled(!disabled);
        ui->buttonScrollDown->setEnabled(!disabled);
        return;
    }
    m_disabled = disabled;
    if (m_menu) {
        if (disabled) {
            // Remember what the application had disabled itself, so that
            // closing a sub-menu does not enable those items.
            m_itemsDisabledBefore.clear();
            for (const TrellisItemPtr &item : std::as_const(*m_menu))
                if (item->disabled())
                    m_itemsDisabledBefore.insert(item.get());
        }
        for (const TrellisItemPtr &item : std::as_const(*m_menu))
            item->setDisabled(disabled || m_itemsDisabledBefore.contains(item.get()));
        if (!disabled)
            m_itemsDisabledBefore.clear();
    }
    ui->buttonScrollUp->setEnabled(!disabled);
    ui->buttonScrollDown->setEnabled(!disabled);
}

void TrellisController::updateLayout()
{
    if (!m_laidOut) {
        m_laidOut = true;
        ui->tableView->setModel(m_model);
        connect(ui->tableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &TrellisController::selectionDidChange);
        installKeyHandlers();
    }
    reload();
    updateUIState();
}

// ---- Rows -----------------------------------------------------------------

int TrellisController::numberOfRows()
{
    if (!m_menu)
        return 0;
    focusTable();
    if (m_arrayCells.isEmpty() && !m_menu->isEmpty())
        createMenuCells();
    return int(m_menu->size());
}

void TrellisController::focusTable()
{
    QPointer<TrellisController> self(this);
    queueMain(this, [self] {
        // A disabled level has a nested one open, which takes the keys.
        if (!self || self->m_disabled)
            return;
        if (TrellisController *root = self->rootController())
            root->m_firstResponder = self->ui->tableView;
        if (self->isVisible())
            self->ui->tableView->setFocus(Qt::OtherFocusReason);
    });
}

void TrellisController::reload()
{
    if (!m_laidOut)
        return;
    // Rows belong to one array with a fixed number of items; anything else
    // would show rows of items that are gone.
    if (!m_arrayCells.isEmpty() && (!m_menu || m_arrayCells.size() != m_menu->size()))
        removeAllCells();
    numberOfRows();
    layoutRows();
    for (int r = 0; r < m_arrayCells.size(); ++r)
        viewForRow(r);
}

void TrellisController::createMenuCells()
{
    QWidget *viewport = ui->tableView->viewport();
    for (int i = 0; i < m_menu->size(); ++i) {
        const TrellisItemPtr &item = m_menu->at(i);
        item->setOwnerMenu(m_menu);
        item->setSelected(i == 0);
        TrellisCellView *cell =
            TrellisCellView::create(QLatin1String(identifierForKind(item->type())), viewport);
        cell->scale = m_scale;
        bindCell(cell, item, i);
        applyCellColors(cell);
        cell->show();
        m_arrayCells.append(cell);
    }
    m_selectedRow = -1;
    m_model->resetRows();
    QList<QWidget *> widgets;
    for (TrellisCellView *cell : std::as_const(m_arrayCells))
        widgets.append(cell);
    ui->tableView->setRowWidgets(widgets);
}

void TrellisController::bindCell(TrellisCellView *cell, const TrellisItemPtr &itemPtr, int row)
{
    TrellisItem *item = itemPtr.get();
    cell->menuItem = itemPtr;
    QPointer<TrellisController> self(this);
    TreeMenuTableView *table = ui->tableView;

    // Label, highlight and disabled state follow the item.
    cell->label()->setText(item->labelText());
    cell->setDisabled(item->disabled());
    cell->setHilighted(item->selected());
    connect(item, &TrellisItem::labelTextChanged, cell, [cell, table, row](const QString &text) {
        cell->label()->setText(text);
        TrellisAccessible::notifyNameChanged(table, row);
    });
    connect(item, &TrellisItem::disabledChanged, cell, [cell, table, row](bool on) {
        cell->setDisabled(on);
        TrellisAccessible::notifyStateChanged(table, row);
    });
    connect(item, &TrellisItem::selectedChanged, cell, &TrellisCellView::setHilighted);
    connect(item, &TrellisItem::expandedChanged, cell,
            [table, row] { TrellisAccessible::notifyStateChanged(table, row); });

    // A click in the label strip selects the row and activates it, unless
    // an item is being edited.
    cell->eventClicked = [self, row] {
        if (!self)
            return;
        self->ui->tableView->selectRowIndex(row);
        self->ui->tableView->setFocus(Qt::MouseFocusReason);
        self->rootController()->m_firstResponder = self->ui->tableView;
        if (!self->isEditingMenuItem())
            self->menuItemClicked();
    };
    auto selectThisRow = [self, row] {
        if (!self)
            return;
        self->ui->tableView->selectRowIndex(row);
    };
    auto giveBackKeyboard = [self] {
        if (!self)
            return;
        self->ui->tableView->setFocus(Qt::OtherFocusReason);
        self->rootController()->m_firstResponder = self->ui->tableView;
    };

    switch (item->type()) {
    case TrellisItemTypeTextEdit: {
        auto *edit = static_cast<TrellisItemTextEdit *>(item);
        TextView *field = static_cast<TrellisTexEditCellView *>(cell)->textView();
        field->setText(edit->valueOfTextEdit());
        connect(edit, &TrellisItemTextEdit::valueOfTextEditChanged, field, &QLineEdit::setText);
        connect(edit, &TrellisItem::valueChanged, cell,
                [table, row] { TrellisAccessible::notifyValueChanged(table, row); });
        field->eventClicked = [selectThisRow] { selectThisRow(); };
        field->eventValueChanged = [item](const QString &text) {
            if (item->eventValueChanged)
                item->eventValueChanged(item, text);
        };
        field->eventEditingDone = giveBackKeyboard;
        break;
    }
    case TrellisItemTypeHotKey: {
        auto *hotKey = static_cast<TrellisItemHotKey *>(item);
        TextViewForHotKey *field = static_cast<TrellisHotKeyCellView *>(cell)->hotKeyView();
        field->setValueOfHotKey(hotKey->valueOfHotKey());
        connect(hotKey, &TrellisItemHotKey::valueOfHotKeyChanged, field,
                &TextViewForHotKey::setValueOfHotKey);
        connect(hotKey, &TrellisItem::valueChanged, cell,
                [table, row] { TrellisAccessible::notifyValueChanged(table, row); });
        field->eventClicked = [selectThisRow] { selectThisRow(); };
        field->eventValueChanged = [hotKey](const QString &text) {
            if (hotKey->eventValueChanged)
                hotKey->eventValueChanged(hotKey, text);
            hotKey->setValueOfHotKey(text);
        };
        field->eventEditingDone = giveBackKeyboard;
        break;
    }
    case TrellisItemTypeCheckBox:
    case TrellisItemTypeRadioGroup: {
        CheckBoxView *box = static_cast<TrellisCheckBoxCellView *>(cell)->checkBox();
        const bool isRadio = item->type() == TrellisItemTypeRadioGroup;
        box->setChecked(item->value().toBool());
        connect(item, &TrellisItem::valueChanged, cell, [box, item, table, row] {
            box->setChecked(item->value().toBool());
            TrellisAccessible::notifyStateChanged(table, row);
        });
        box->eventClicked = [selectThisRow] { selectThisRow(); };
        if (!isRadio) {
            auto *check = static_cast<TrellisItemCheckBox *>(item);
            box->eventValueChanged = [check](bool on) {
                check->setValueOfCheckBox(on);
                if (check->eventValueChanged)
                    check->eventValueChanged(check, on);
            };
        } else {
            auto *radio = static_cast<TrellisItemRadioGroup *>(item);
            box->eventValueChanged = [self, radio](bool on) {
                if (!self || !self->m_menu)
                    return;
                for (const TrellisItemPtr &other : std::as_const(*self->m_menu))
                    if (other->type() == TrellisItemTypeRadioGroup)
                        static_cast<TrellisItemRadioGroup *>(other.get())
                            ->setValueOfRadioGroup(false);
                radio->setValueOfRadioGroup(radio->enableToggle() ? on : true);
                if (radio->eventValueChanged)
                    radio->eventValueChanged(radio, radio->valueOfRadioGroup());
            };
        }
        break;
    }
    case TrellisItemTypeSlider: {
        auto *sliderItem = static_cast<TrellisItemSlider *>(item);
        SliderView *slider = static_cast<TrellisSliderCellView *>(cell)->slider();
        auto pull = [slider, sliderItem] {
            slider->setRange(sliderItem->minValue(), sliderItem->maxValue());
            slider->setValue(sliderItem->valueOfSlider());
        };
        pull();
        connect(sliderItem, &TrellisItem::valueChanged, cell, [pull, table, row] {
            pull();
            TrellisAccessible::notifyValueChanged(table, row);
        });
        static_cast<TrellisSliderCellView *>(cell)->setSliderColors(m_sliderBgNormal,
                                                                    m_sliderBorderNormal);
        slider->eventClicked = [selectThisRow] { selectThisRow(); };
        slider->eventValueChanged = [sliderItem](int value) {
            sliderItem->setValueOfSlider(value);
            if (sliderItem->eventValueChanged)
                sliderItem->eventValueChanged(sliderItem, value);
        };
        break;
    }
    default:
        break;
    }
    cell->scaleParts();
}

void TrellisController::removeAllCells()
{
    // The nested levels go with the rows: give the items back their own
    // disabled flags and make this level live again.
    if (m_disabled)
        setDisabled(false);
    for (TrellisCellView *cell : std::as_const(m_arrayCells)) {
        if (cell->menuItem)
            cell->menuItem->disconnect(cell);
        cell->hide();
        cell->deleteLater();
    }
    const bool hadRows = !m_arrayCells.isEmpty();
    m_arrayCells.clear();
    m_selectedRow = -1;
    ui->tableView->setRowWidgets({});
    if (hadRows)
        m_model->resetRows();
}

int TrellisController::calcRowHeight(const TrellisItem *item) const
{
    double h = m_rowHeight;
    if (item->expanded() && item->subMenu()) {
        for (const TrellisItemPtr &sub : std::as_const(*item->subMenu()))
            h += calcRowHeight(sub.get()) + 2;
        h = std::trunc(h + 2.0 * ui->buttonScrollDown->minimumHeight());
    }
    const double k = height() - 2.0 * m_rowHeight;
    if (h > k)
        h = std::trunc(k);
    return int(qMax<double>(h, m_rowHeight));
}

void TrellisController::calcRowsPerPage()
{
    if (m_heightOfRowView > 0)
        m_rowsPerPage = int(ui->scrollView->height() / m_heightOfRowView);
}

void TrellisController::layoutRows()
{
    QHeaderView *header = ui->tableView->verticalHeader();
    const int width = ui->scrollView->width();
    int y = 0;
    for (int r = 0; r < m_arrayCells.size() && m_menu && r < m_menu->size(); ++r) {
        const int h = calcRowHeight(m_menu->at(r).get());
        if (r < header->count())
            header->resizeSection(r, h + 2);
        // Two pixels between rows, as the table's row spacing.
        m_arrayCells.at(r)->setGeometry(0, y, width, h);
        y += h + 2;
    }
    ui->tableView->resize(width, y);
}

void TrellisController::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (!m_laidOut)
        return;
    layoutRows();
    calcRowsPerPage();
    updateUIState();
}

bool TrellisController::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (watched == ui->tableView && (key == Qt::Key_PageUp || key == Qt::Key_PageDown)) {
            // Page keys do what the page buttons do, when there is a page.
            QAbstractButton *button =
                key == Qt::Key_PageUp ? ui->buttonScrollUp : ui->buttonScrollDown;
            if (button->isVisible() && button->isEnabled()) {
                event->accept();
                key == Qt::Key_PageUp ? onButtonScrollUpClicked() : onButtonScrollDownClicked();
                return true;
            }
        }
        if (watched == ui->scrollView) {
            // The scroll area would scroll on keys the table passed on; the
            // menu moves by its own rules, so let them travel on up to the
            // application.
            event->ignore();
            return true;
        }
    }
    if (watched == ui->tableView && event->type() == QEvent::FocusIn) {
        TrellisController *root = rootController();
        if (!m_disabled) {
            root->m_firstResponder = ui->tableView;
        } else {
            // A click on an outer level (or around a nested one) must not
            // take the keys away from the open nested level.
            QPointer<TrellisController> self(this);
            queueMain(this, [self] {
                if (!self || !self->m_disabled || !self->ui->tableView->hasFocus())
                    return;
                TreeMenuTableView *inner = self->rootController()->m_firstResponder;
                if (inner && inner != self->ui->tableView && inner->isVisible())
                    inner->setFocus(Qt::OtherFocusReason);
            });
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TrellisController::viewForRow(int row)
{
    const TrellisItemPtr itemPtr = m_menu->at(row);
    TrellisItem *item = itemPtr.get();
    TrellisCellView *cell = m_arrayCells.at(row);
    if (row == 0) {
        m_heightOfRowView = ui->tableView->rowHeight(0);
        calcRowsPerPage();
    }
    cell->setDefaultHeight(m_rowHeight);
    if (item->subMenu() && item->expanded()) {
        setDisabled(true);
        if (!cell->subMenuController)
            openNested(row);
        cell->subMenuController->setMenu(item->subMenu());
    } else if (cell->subMenuController) {
        cell->dropSubMenuController();
    }
    QPointer<TrellisController> self(this);
    std::weak_ptr<TrellisItem> weakItem = itemPtr;
    QPointer<TrellisCellView> weakCell(cell);
    queueMain(this, [self, weakItem, weakCell, row] {
        const TrellisItemPtr item = weakItem.lock();
        if (!self || !item || !weakCell || weakCell->menuItem != item)
            return;
        if (item->selected() && self->ui->tableView->selectedRow() != row)
            self->ui->tableView->selectRowIndex(row);
        weakCell->update();
    });
}

void TrellisController::openNested(int row)
{
    const TrellisItemPtr itemPtr = m_menu->at(row);
    TrellisCellView *cell = m_arrayCells.at(row);
    auto *nested = new TrellisController(cell);
    nested->m_rootController = rootController();
    nested->m_parentController = this;
    nested->m_level = m_level + 1;
    nested->setScale(m_scale);
    nested->setCloseOnBackspaceKey(m_closeOnBackspaceKey);
    nested->setBackgroundColor(m_backgroundColor);
    nested->m_cellBackgroundColor = m_cellBackgroundColor;
    nested->m_cellDisabledColor = m_cellDisabledColor;
    nested->m_cellDisabledTextColor = m_cellDisabledTextColor;
    nested->m_cellTextColor = m_cellTextColor;
    nested->m_cellHilightColor = m_cellHilightColor;
    nested->m_cellHilightTextColor = m_cellHilightTextColor;
    nested->m_cellBorderColor = m_cellBorderColor;
    nested->m_sliderBgNormal = m_sliderBgNormal;
    nested->m_sliderBgEdit = m_sliderBgEdit;
    nested->m_sliderBorderNormal = m_sliderBorderNormal;
    nested->m_sliderBorderEdit = m_sliderBorderEdit;

    QPointer<TrellisController> self(this);
    std::weak_ptr<TrellisItem> weakItem = itemPtr;
    nested->eventClosed = [self, weakItem] {
        const TrellisItemPtr item = weakItem.lock();
        if (!self || !item)
            return;
        item->setExpanded(false);
        QPointer<TrellisController> root(self->rootController());
        if (root)
            root->reload();
        if (!self)
            return;
        self->setDisabled(false);
        queueMain(self, [root, weakItem] {
            if (root)
                root->updateUIState();
            const TrellisItemPtr collapsed = weakItem.lock();
            if (collapsed && collapsed->eventMenuCollapsed)
                collapsed->eventMenuCollapsed(collapsed.get());
        });
    };
    cell->setSubMenuController(nested);
    nested->show();
    QPointer<TrellisController> weakNested(nested);
    queueMain(this, [self, weakNested, weakItem] {
        if (!self || !weakNested)
            return;
        weakNested->updateLayout();
        if (TrellisController *root = self->rootController())
            root->scrollRowToVisible();
        const TrellisItemPtr item = weakItem.lock();
        if (item && item->eventMenuExpanded)
            item->eventMenuExpanded(item.get());
    });
}

// ---- Keys and activation --------------------------------------------------

void TrellisController::installKeyHandlers()
{
    if (m_keysInstalled)
        return;
    m_keysInstalled = true;
    TreeMenuTableView *table = ui->tableView;
    QPointer<TrellisController> self(this);
    table->eventEnterKeyDown = [self] {
        if (self)
            self->onReturn();
    };
    table->eventSpaceKeyDown = [table] {
        if (table->eventEnterKeyDown)
            table->eventEnterKeyDown();
    };
    table->eventEscapeKeyDown = [self] {
        if (self)
            self->onEscape();
    };
    table->eventBackspaceKeyDown = [self] {
        if (self && self->m_closeOnBackspaceKey)
            self->close(self->m_menu && !self->m_menu->isEmpty() ? self->m_menu->last().get()
                                                                 : nullptr);
    };
    table->eventUpArrowKey = [self] {
        if (self)
            self->afterArrowKey(false);
    };
    table->eventDownArrowKey = [self] {
        if (self)
            self->afterArrowKey(true);
    };
}

TrellisItemPtr TrellisController::selectedEnabledItem(int &row) const
{
    row = ui->tableView->selectedRow();
    if (!m_menu || row < 0 || row >= m_menu->size())
        return nullptr;
    TrellisItemPtr item = m_menu->at(row);
    return item->disabled() ? nullptr : item;
}

void TrellisController::onReturn()
{
    int row = -1;
    const TrellisItemPtr item = selectedEnabledItem(row);
    if (!item)
        return;
    QPointer<TrellisController> self(this);
    menuItemClicked();
    if (!self || !item->enableRollback())
        return;
    if (item->editState() == 1) {
        item->setEditState(0);
        item->setValueForRollback(QVariant());
        if (item->eventEndEdit)
            item->eventEndEdit(item.get());
        if (self)
            self->paintSlider(row, false);
    } else {
        item->setEditState(1);
        paintSlider(row, true);
        if (item->eventBeginEdit)
            item->eventBeginEdit(item.get());
    }
}

void TrellisController::onEscape()
{
    const int row = ui->tableView->selectedRow();
    if (m_menu && row >= 0 && row < m_menu->size()) {
        const TrellisItemPtr item = m_menu->at(row);
        if (item->enableRollback() && item->editState() == 1) {
            QPointer<TrellisController> self(this);
            if (item->eventCancelEdit)
                item->eventCancelEdit(item.get(), item->valueForRollback());
            item->setEditState(0);
            item->setValueForRollback(QVariant());
            if (self)
                self->paintSlider(row, false);
            return;
        }
    }
    close(m_menu && !m_menu->isEmpty() ? m_menu->last().get() : nullptr);
}

void TrellisController::close(TrellisItem *item)
{
    // Keep the item alive across the handler, which may drop this level.
    TrellisItemPtr keep;
    if (m_menu)
        for (const TrellisItemPtr &p : std::as_const(*m_menu))
            if (p.get() == item)
                keep = p;
    if (eventClosed) {
        const std::function<void()> handler = eventClosed;
        handler();
    }
    if (item)
        item->setSelected(false);
}

void TrellisController::menuItemClicked()
{
    int row = -1;
    const TrellisItemPtr item = selectedEnabledItem(row);
    if (!item)
        return;
    QPointer<TrellisController> self(this);
    if (item->type() == TrellisItemTypeCheckBox) {
        auto *check = static_cast<TrellisItemCheckBox *>(item.get());
        check->setValueOfCheckBox(!check->valueOfCheckBox());
        if (check->eventValueChanged)
            check->eventValueChanged(check, check->valueOfCheckBox());
    } else if (item->type() == TrellisItemTypeRadioGroup) {
        auto *radio = static_cast<TrellisItemRadioGroup *>(item.get());
        const bool next = radio->enableToggle() ? !radio->valueOfRadioGroup() : true;
        for (const TrellisItemPtr &other : std::as_const(*m_menu))
            if (other.get() != radio && other->type() == TrellisItemTypeRadioGroup)
                static_cast<TrellisItemRadioGroup *>(other.get())->setValueOfRadioGroup(false);
        radio->setValueOfRadioGroup(next);
        if (radio->eventValueChanged)
            radio->eventValueChanged(radio, next);
    }
    if (!self)
        return;
    if (item->eventItemClicked)
        item->eventItemClicked(item.get());
    if (!self)
        return;
    if (item->clickOnExit()) {
        close(item.get());
        return;
    }
    if (const TrellisMenuPtr sub = item->subMenu()) {
        const bool expand = !item->expanded();
        if (!sub->isEmpty())
            sub->first()->setSelected(true);
        clearExpanededMenuItems();
        item->setExpanded(expand);
        if (TrellisController *root = rootController())
            root->reload();
        return;
    }
    // A text or hot key row takes the keyboard on activation, so the field
    // can be reached without a mouse; Return or Escape in it gives it back.
    if (item->type() == TrellisItemTypeTextEdit || item->type() == TrellisItemTypeHotKey) {
        if (auto *cell = qobject_cast<TrellisTexEditCellView *>(m_arrayCells.value(row)))
            cell->textView()->setFocus(Qt::OtherFocusReason);
    }
}

bool TrellisController::isEditingMenuItem() const
{
    if (!m_menu)
        return false;
    for (const TrellisItemPtr &item : std::as_const(*m_menu))
        if (item->enableRollback() && item->editState() == 1)
            return true;
    return false;
}

void TrellisController::clearSelectionOfMenuItems()
{
    if (m_menu)
        for (const TrellisItemPtr &item : std::as_const(*m_menu))
            item->setSelected(false);
}

void TrellisController::clearExpanededMenuItems()
{
    if (m_menu)
        for (const TrellisItemPtr &item : std::as_const(*m_menu))
            item->setExpanded(false);
}

// ---- Selection ------------------------------------------------------------

int TrellisController::findNextRowEnabled(int row) const
{
    const int n = m_menu ? int(m_menu->size()) : 0;
    for (int r = qMax(row, 0); r < n; ++r)
        if (!m_menu->at(r)->disabled())
            return r;
    for (int r = 0; r <= row && r < n; ++r)
        if (!m_menu->at(r)->disabled())
            return r;
    return -1;
}

int TrellisController::findPrevRowEnabled(int row) const
{
    const int n = m_menu ? int(m_menu->size()) : 0;
    for (int r = qMin(row, n - 1); r >= 0; --r)
        if (!m_menu->at(r)->disabled())
            return r;
    for (int r = n - 1; r >= row && r >= 0; --r)
        if (!m_menu->at(r)->disabled())
            return r;
    return -1;
}

void TrellisController::selectionDidChange()
{
    TreeMenuTableView *table = ui->tableView;
    const int n = table->selectedRow();
    const int p = m_selectedRow;
    qCDebug(lcTrellis) << "selection" << p << "->" << n;
    const int count = int(m_arrayCells.size());
    auto validRow = [&](int r) { return r >= 0 && r < count && m_menu && r < m_menu->size(); };

    if (m_disabled && n != p) {
        // A disabled level keeps its current row.
        QSignalBlocker block(table->selectionModel());
        if (validRow(p))
            table->selectRowIndex(p);
        else
            table->selectionModel()->clearSelection();
        return;
    }
    if (validRow(p) && m_menu->at(p)->editState() == 1) {
        table->selectRowIndex(p);
        return;
    }
    if (validRow(n) && m_menu->at(n)->disabled()) {
        const bool wrapUp = p == 0 && n == count - 1;
        const bool down = n > p && !wrapUp;
        const int found = down ? findNextRowEnabled(n) : findPrevRowEnabled(n);
        const int target = found >= 0 ? found : p;
        if (validRow(target)) {
            table->selectRowIndex(target);
        } else {
            table->selectionModel()->clearSelection();
        }
        return;
    }
    if (validRow(p))
        m_arrayCells.at(p)->setHilighted(false);
    if (validRow(n)) {
        const TrellisItemPtr item = m_menu->at(n);
        m_arrayCells.at(n)->setHilighted(true);
        clearSelectionOfMenuItems();
        item->setSelected(true);
        rootController()->m_selectedMenuItem = item;
        m_selectedRow = n;
        TrellisAccessible::notifyFocus(table, n);
        if (item->eventItemSelected)
            item->eventItemSelected(item.get());
        return;
    }
    m_selectedRow = n;
}

void TrellisController::scrollRowToVisible()
{
    if (!m_menu)
        return;
    for (int r = 0; r < m_arrayCells.size() && r < m_menu->size(); ++r) {
        if (!m_menu->at(r)->expanded())
            continue;
        ui->tableView->scrollRowToVisible(qMin(r + 1, int(m_arrayCells.size()) - 1));
        if (m_arrayCells.at(r)->subMenuController)
            m_arrayCells.at(r)->subMenuController->scrollRowToVisible();
    }
}

// ---- Page buttons ---------------------------------------------------------

void TrellisController::updateUIState()
{
    if (m_disabled) {
        ui->buttonScrollUp->hide();
        ui->buttonScrollDown->hide();
    } else {
        const int T = ui->tableView->height();
        const int V = ui->scrollView->height();
        const int Y = ui->scrollView->verticalScrollBar()->value();
        ui->buttonScrollUp->setVisible(Y > 0);
        // Hidden once the last row is in sight (T - V is the furthest
        // scroll), and when everything fits.
        ui->buttonScrollDown->setVisible(Y < T - V);
    }
    for (TrellisCellView *cell : std::as_const(m_arrayCells))
        if (cell->subMenuController)
            cell->subMenuController->updateUIState();
}

void TrellisController::onButtonScrollUpClicked()
{
    QScrollBar *bar = ui->scrollView->verticalScrollBar();
    const double h = m_heightOfRowView;
    const double Y = bar->value();
    double y = std::ceil((Y - m_rowsPerPage * h) / h) * h;
    if (y <= 2.0)
        y = 0;
    bar->setValue(int(y));
    QPointer<TrellisController> self(this);
    queueMain(this, [self] {
        if (!self)
            return;
        self->updateUIState();
        self->ui->tableView->setFocus(Qt::OtherFocusReason);
        self->rootController()->m_firstResponder = self->ui->tableView;
    });
}

void TrellisController::onButtonScrollDownClicked()
{
    QScrollBar *bar = ui->scrollView->verticalScrollBar();
    const double h = m_heightOfRowView;
    const double Y = bar->value();
    const double M = ui->tableView->height() - ui->scrollView->height() + 2;
    double y = std::ceil((m_rowsPerPage * h + Y) / h) * h;
    if (y >= M - 2)
        y = M;
    bar->setValue(int(y));
    QPointer<TrellisController> self(this);
    queueMain(this, [self] {
        if (!self)
            return;
        self->updateUIState();
        self->ui->tableView->setFocus(Qt::OtherFocusReason);
        self->rootController()->m_firstResponder = self->ui->tableView;
    });
}

void TrellisController::afterArrowKey(bool down)
{
    const int T = ui->tableView->height();
    const int V = ui->scrollView->height();
    if (T <= V || m_arrayCells.isEmpty())
        return;
    const int s = ui->tableView->selectedRow();
    const int n = int(m_arrayCells.size());
    const int R = ui->tableView->rowHeight(0);
    if (s == 0) {
        ui->buttonScrollUp->hide();
        ui->buttonScrollDown->show();
    } else if (s == n - 1) {
        ui->buttonScrollUp->show();
        ui->buttonScrollDown->hide();
    } else if ((!down && R * (n - s) > V) || (down && R * (s + 1) > V)) {
        updateUIState();
    }
}
