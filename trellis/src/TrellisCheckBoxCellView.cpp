#include "TrellisCheckBoxCellView.h"

#include "CheckBoxView.h"

#include <QLabel>

TrellisCheckBoxCellView::TrellisCheckBoxCellView(QWidget *parent)
    : TrellisCellView(parent), m_buttonContainer(new QWidget(this)),
      m_checkBox(new CheckBoxView(m_buttonContainer))
{
    connect(m_checkBox, &QAbstractButton::clicked, this,
            &TrellisCheckBoxCellView::onCheckBoxValueChanged);
}

QList<QWidget *> TrellisCheckBoxCellView::controls() const
{
    return {m_checkBox};
}

void TrellisCheckBoxCellView::onCheckBoxValueChanged()
{
    const bool state = !m_checkBox->oldState;
    m_checkBox->setChecked(state);
    if (m_checkBox->eventValueChanged)
        m_checkBox->eventValueChanged(state);
}

void TrellisCheckBoxCellView::scaleControls(float factor)
{
    TrellisCellView::scaleControls(factor);
    m_boxSide = qMax(8, int(20 * factor + 0.5f));
}

void TrellisCheckBoxCellView::layoutStrip(const QRect &strip)
{
    const int side = qMin(m_boxSide, strip.height());
    const int inset = int(8 * scale);
    m_buttonContainer->setGeometry(strip.right() - inset - side + 1,
                                   strip.top() + (strip.height() - side) / 2, side, side);
    // The box fills its container.
    m_checkBox->setGeometry(m_buttonContainer->rect());
    label()->setGeometry(strip.left() + inset, strip.top(),
                         qMax(0, strip.width() - 3 * inset - side), strip.height());
}
