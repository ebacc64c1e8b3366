#pragma once
// One level of a keyboard-driven tree menu.
//
// The level shows its items as rows of a TreeMenuTableView inside a scroll
// area with two page buttons. Up and Down move the current row (wrapping at
// both ends, skipping disabled rows), Return or Space activates it, Escape
// cancels an edit or closes the level, Backspace closes it when
// closeOnBackspaceKey is set. Activating an item with a sub-menu grows its
// row and shows a nested TrellisController inside it, indented, while this
// level is disabled until the nested one closes.
//
// Use: create a root controller as a child of a widget, give it colours and
// scale (once, before the rows exist), setMenu(), place it, then
// updateLayout(). React through the item handlers and eventClosed. To put
// the keyboard back into the menu, focus firstResponder(). Main thread only.
#include <trellis/TrellisItem.h>

#include <QColor>
#include <QPointer>
#include <QSet>
#include <QWidget>
#include <functional>
#include <memory>

class QAbstractButton;
class QScrollArea;
class TreeMenuTableView;
class TrellisCellView;
namespace Ui {
class TrellisController;
}

class TrellisController : public QWidget
{
    Q_OBJECT

public:
    explicit TrellisController(QWidget *parent = nullptr);
    ~TrellisController() override;

    TrellisMenuPtr menu() const { return m_menu; }
    // Stores the array and reloads. A different array (or a changed number
    // of items) gets new rows; the same array keeps its rows.
    void setMenu(TrellisMenuPtr menu);

    float scale() const { return m_scale; }
    // Multiplies the row height; call once, before the rows are built.
    void setScale(float factor);

    bool closeOnBackspaceKey() const { return m_closeOnBackspaceKey; }
    void setCloseOnBackspaceKey(bool on) { m_closeOnBackspaceKey = on; }

    // The menu table of this tree that last got the keyboard focus (kept on
    // the root controller).
    TreeMenuTableView *firstResponder() const;

    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor &color);
    // Row colours; an invalid colour leaves the rows' own default.
    QColor cellBackgroundColor() const { return m_cellBackgroundColor; }
    void setCellBackgroundColor(const QColor &color);
    QColor cellDisabledColor() const { return m_cellDisabledColor; }
    void setCellDisabledColor(const QColor &color);
    QColor cellDisabledTextColor() const { return m_cellDisabledTextColor; }
    void setCellDisabledTextColor(const QColor &color);
    QColor cellTextColor() const { return m_cellTextColor; }
    void setCellTextColor(const QColor &color);
    QColor cellHilightColor() const { return m_cellHilightColor; }
    void setCellHilightColor(const QColor &color);
    QColor cellHilightTextColor() const { return m_cellHilightTextColor; }
    void setCellHilightTextColor(const QColor &color);
    QColor cellBorderColor() const { return m_cellBorderColor; }
    void setCellBorderColor(const QColor &color);
    // Slider bar colours while its item is idle (editState 0) or edited (1).
    QColor sliderBackgroundColorInNormalMode() const { return m_sliderBgNormal; }
    void setSliderBackgroundColorInNormalMode(const QColor &color);
    QColor sliderBackgroundColorInEditMode() const { return m_sliderBgEdit; }
    void setSliderBackgroundColorInEditMode(const QColor &color);
    QColor sliderBorderColorInNormalMode() const { return m_sliderBorderNormal; }
    void setSliderBorderColorInNormalMode(const QColor &color);
    QColor sliderBorderColorInEditMode() const { return m_sliderBorderEdit; }
    void setSliderBorderColorInEditMode(const QColor &color);

    // The item that most recently became current anywhere in the tree (kept
    // on the root controller).
    TrellisItem *selectedMenuItem() const;

    // This level asks to be closed (Escape, Backspace, an item with
    // clickOnExit). A nested level's handler is set by its parent.
    std::function<void()> eventClosed;

    bool isDisabled() const { return m_disabled; }
    // Greys every item of this level and its page buttons; the level then
    // ignores selection.
    void setDisabled(bool disabled);

    // Height of an item's own label area, in pixels.
    int rowHeight() const { return m_rowHeight; }

    TrellisController *rootController() const;
    TrellisController *parentController() const { return m_parentController; }
    int level() const { return m_level; }

    TreeMenuTableView *tableView() const;
    QAbstractButton *buttonScrollUp() const;
    QAbstractButton *buttonScrollDown() const;
    QScrollArea *scrollView() const;

    // Makes the level live: rows are built and shown from here on. Call
    // after the controller is placed.
    void updateLayout();
    // Brings rows and heights in step with the items.
    void reload();

    // Calls eventClosed, then clears the item's selected flag.
    void close(TrellisItem *item);
    // Activates the current row.
    void menuItemClicked();
    bool isEditingMenuItem() const;
    void clearSelectionOfMenuItems();
    void clearExpanededMenuItems();
    void scrollRowToVisible();
    // Shows or hides the page buttons by the scroll position.
    void updateUIState();
    void onButtonScrollUpClicked();
    void onButtonScrollDownClicked();
    int calcRowHeight(const TrellisItem *item) const;
    void calcRowsPerPage();
    int findNextRowEnabled(int row) const;
    int findPrevRowEnabled(int row) const;
    // Drops every row (and nested level); the next reload builds them again.
    void removeAllCells();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class MenuModel;
    friend class MenuModel;

    int numberOfRows();
    void createMenuCells();
    void bindCell(TrellisCellView *cell, const TrellisItemPtr &item, int row);
    void installKeyHandlers();
    void applyCellColors(TrellisCellView *cell) const;
    void paintSlider(int row, bool editing);
    void layoutRows();
    void viewForRow(int row);
    void openNested(int row);
    void selectionDidChange();
    void focusTable();
    void afterArrowKey(bool down);
    // The selected row's item, or null when no row is selected or its item
    // is disabled; `row` is the selected row either way.
    TrellisItemPtr selectedEnabledItem(int &row) const;
    void onReturn();
    void onEscape();
    TrellisItem *itemAt(int row) const;

    std::unique_ptr<Ui::TrellisController> ui;
    MenuModel *m_model = nullptr;

    int m_selectedRow = -1;
    double m_heightOfRowView = 27.0;
    int m_rowsPerPage = 0;
    QList<TrellisCellView *> m_arrayCells;
    bool m_laidOut = false;
    bool m_keysInstalled = false;

    TrellisMenuPtr m_menu;
    float m_scale = 1.0f;
    bool m_closeOnBackspaceKey = false;
    QPointer<TreeMenuTableView> m_firstResponder;
    QColor m_backgroundColor;
    QColor m_cellBackgroundColor, m_cellDisabledColor, m_cellDisabledTextColor, m_cellTextColor,
        m_cellHilightColor, m_cellHilightTextColor, m_cellBorderColor;
    QColor m_sliderBgNormal{Qt::white};
    QColor m_sliderBgEdit{Qt::blue};
    QColor m_sliderBorderNormal{Qt::darkGray};
    QColor m_sliderBorderEdit{Qt::lightGray};
    std::weak_ptr<TrellisItem> m_selectedMenuItem;
    bool m_disabled = false;
    QSet<const TrellisItem *> m_itemsDisabledBefore;
    int m_rowHeight = 25;
    QPointer<TrellisController> m_rootController;
    QPointer<TrellisController> m_parentController;
    int m_level = 0;
};
