#include "files/FileListCellView.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

FileListCellView::FileListCellView(QObject *parent)
    : QStyledItemDelegate(parent), backgroundColor(Qt::white), textColor(Qt::black),
      hilightColor(QColor(255, 170, 0)), hilightTextColor(Qt::black)
{
}

void FileListCellView::scale(double factor)
{
    if (m_scaled || factor <= 0)
        return;
    m_scaled = true;
    auto by = [factor](int design) { return std::max(1, int(std::lround(design * factor))); };
    m_rowHeight = by(kDesignRowHeight);
    m_fontPixelSize = by(kDesignFontPixelSize);
    m_checkBoxSize = by(kDesignCheckBoxSize);
    m_margin = by(kDesignMargin);
}

QRect FileListCellView::checkBoxRect(const QRect &rowRect) const
{
    return QRect(rowRect.left() + m_margin, rowRect.top() + (rowRect.height() - m_checkBoxSize) / 2,
                 m_checkBoxSize, m_checkBoxSize);
}

QSize FileListCellView::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return QSize(option.rect.width(), m_rowHeight);
}

void FileListCellView::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    const bool hilighted = index.row() == m_hilightedRow;
    const QRect r = option.rect;
    painter->save();
    painter->fillRect(r, hilighted ? hilightColor : backgroundColor);
    const QColor ink = hilighted ? hilightTextColor : textColor;

    int textLeft = r.left() + m_margin;
    const QVariant state = index.data(Qt::CheckStateRole);
    if (state.isValid()) {
        // A plain square box with a tick: readable at any scale and in any
        // style, which the platform's check box is not.
        const QRect box = checkBoxRect(r);
        const int pen = std::max(1, m_checkBoxSize / 8);
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->setPen(QPen(Qt::black, pen));
        painter->setBrush(Qt::white);
        painter->drawRect(box.adjusted(pen / 2, pen / 2, -pen / 2 - 1, -pen / 2 - 1));
        if (state.toInt() == Qt::Checked) {
            const double s = box.width();
            QPolygonF tick;
            tick << QPointF(box.left() + 0.2 * s, box.top() + 0.5 * s)
                 << QPointF(box.left() + 0.42 * s, box.top() + 0.75 * s)
                 << QPointF(box.left() + 0.8 * s, box.top() + 0.25 * s);
            painter->setPen(
                QPen(Qt::black, std::max(2, pen + 1), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter->drawPolyline(tick);
        }
        textLeft = box.right() + 1 + m_margin;
    }

    QFont font = option.font;
    font.setPixelSize(m_fontPixelSize);
    painter->setFont(font);
    painter->setPen(ink);
    const QRect textRect(textLeft, r.top(), std::max(0, r.right() - m_margin - textLeft),
                         r.height());
    const QString text = QFontMetrics(font).elidedText(index.data(Qt::DisplayRole).toString(),
                                                       Qt::ElideMiddle, textRect.width());
    painter->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, text);
    painter->restore();
}

bool FileListCellView::editorEvent(QEvent *event, QAbstractItemModel *,
                                   const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
        return false;
    auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() != Qt::LeftButton)
        return false;
    const int row = index.row();
    const QVariant state = index.data(Qt::CheckStateRole);
    if (state.isValid() && checkBoxRect(option.rect).contains(mouse->position().toPoint()))
        emit checkBoxClickedInCell(row, state.toInt() != Qt::Checked);
    else
        emit mouseDownInCell(row);
    // The list controller moves the selection itself.
    return true;
}
