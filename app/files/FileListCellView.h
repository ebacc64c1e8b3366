#pragma once
// Draws one row of a file list: the file name, the check box while the
// browser is in delete mode, and the highlight of the current row. Rows are
// painted, not built as widgets, so a list of thousands of files costs no
// more than the rows on screen.
//
// A press in a row is reported as a mouse down in that row; a press on the
// row's check box as a check box click with the state it turns to. The file
// list controller that created the cell view observes both. Main thread only.
#include <QColor>
#include <QStyledItemDelegate>

class FileListCellView : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // Design sizes, multiplied by the scale factor once (`scaled`).
    static constexpr int kDesignRowHeight = 22;
    static constexpr int kDesignFontPixelSize = 13;
    static constexpr int kDesignCheckBoxSize = 14;
    static constexpr int kDesignMargin = 6;

    explicit FileListCellView(QObject *parent = nullptr);

    // Applies the scale factor to the row, font and check box sizes; only
    // the first call acts.
    void scale(double factor);
    bool scaled() const { return m_scaled; }
    int rowHeight() const { return m_rowHeight; }

    // The row drawn highlighted (-1: none).
    int hilightedRow() const { return m_hilightedRow; }
    void setHilightedRow(int row) { m_hilightedRow = row; }

    QColor backgroundColor, textColor, hilightColor, hilightTextColor;

    // Where the check box of a row lies within the row's rectangle.
    QRect checkBoxRect(const QRect &rowRect) const;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

signals:
    // "NotificationMouseDownInFileListCellView": a press anywhere in the row.
    void mouseDownInCell(int rowIndex);
    // "NotificationCheckBoxClickedInFileListCellView": a press on the check
    // box, with the state it turns to.
    void checkBoxClickedInCell(int rowIndex, bool valueOfCheckBox);

protected:
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;

private:
    bool m_scaled = false;
    int m_rowHeight = kDesignRowHeight;
    int m_fontPixelSize = kDesignFontPixelSize;
    int m_checkBoxSize = kDesignCheckBoxSize;
    int m_margin = kDesignMargin;
    int m_hilightedRow = -1;
};
