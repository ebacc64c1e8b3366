#include "TrellisTexEditCellView.h"

#include "TextView.h"

#include <QLabel>

TrellisTexEditCellView::TrellisTexEditCellView(QWidget *parent)
    : TrellisTexEditCellView(parent, new TextView)
{
}

TrellisTexEditCellView::TrellisTexEditCellView(QWidget *parent, TextView *field)
    : TrellisCellView(parent), m_textView(field)
{
    m_textView->setParent(this);
}

QList<QWidget *> TrellisTexEditCellView::controls() const
{
    // A disabled field must not take the focus from the menu on a click.
    return {m_textView};
}

void TrellisTexEditCellView::setDisabled(bool disabled)
{
    TrellisCellView::setDisabled(disabled);
    m_textView->setDisabled(disabled);
}

void TrellisTexEditCellView::scaleControls(float factor)
{
    TrellisCellView::scaleControls(factor);
    QFont f = m_textView->font();
    if (f.pixelSize() > 0)
        f.setPixelSize(qMax(1, int(f.pixelSize() * factor + 0.5f)));
    else
        f.setPointSizeF(f.pointSizeF() * factor);
    m_textView->setFont(f);
}

void TrellisTexEditCellView::layoutStrip(const QRect &strip)
{
    const int inset = int(8 * scale);
    const int half = strip.width() / 2;
    label()->setGeometry(strip.left() + inset, strip.top(), qMax(0, half - inset), strip.height());
    const int margin = qMin(int(3 * scale), strip.height() / 4);
    m_textView->setGeometry(strip.left() + half, strip.top() + margin, qMax(0, half - inset),
                            qMax(0, strip.height() - 2 * margin));
}
