#include "TrellisCellView.h"

#include "TrellisCheckBoxCellView.h"
#include "TrellisHotKeyCellView.h"
#include "TrellisLabelCellView.h"
#include "TrellisSliderCellView.h"
#include "TrellisTexEditCellView.h"
#include <trellis/TrellisController.h>

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

TrellisCellView *TrellisCellView::create(const QString &identifier, QWidget *parent)
{
    if (identifier == QLatin1String("TreeMenuLabelCellView"))
        return new TrellisLabelCellView(parent);
    if (identifier == QLatin1String("TreeMenuTexEditCellView"))
        return new TrellisTexEditCellView(parent);
    if (identifier == QLatin1String("TreeMenuHotKeyCellView"))
        return new TrellisHotKeyCellView(parent);
    if (identifier == QLatin1String("TreeMenuCheckBoxCellView"))
        return new TrellisCheckBoxCellView(parent);
    if (identifier == QLatin1String("TreeMenuSliderCellView"))
        return new TrellisSliderCellView(parent);
    return nullptr;
}

TrellisCellView::TrellisCellView(QWidget *parent) : QWidget(parent), m_label(new QLabel(this))
{
    setFocusPolicy(Qt::NoFocus);
    QFont f = m_label->font();
    f.setPixelSize(16);
    m_label->setFont(f);
    m_label->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    m_label->setAttribute(Qt::WA_TransparentForMouseEvents);
    // Rows sit on the table's viewport, whose roles would make the label
    // draw in the text-field colour: keep the label's own roles.
    setBackgroundRole(QPalette::Window);
    m_label->setForegroundRole(QPalette::WindowText);
    applyColors();
}

TrellisCellView::~TrellisCellView() = default;

void TrellisCellView::setDefaultHeight(int height)
{
    if (m_defaultHeight == height)
        return;
    m_defaultHeight = height;
    layoutStrip(QRect(0, 0, width(), qMin(height, this->height())));
    update();
}

QList<QWidget *> TrellisCellView::controls() const
{
    // The label only changes colour: a disabled label would be drawn in the
    // style's faint disabled colour instead of disabledTextColor.
    return {};
}

QColor TrellisCellView::currentTextColor() const
{
    if (m_disabled)
        return disabledTextColor;
    if (m_hilighted && hilightTextColor.isValid())
        return hilightTextColor;
    return textColor;
}

void TrellisCellView::applyColors()
{
    QPalette p = m_label->palette();
    p.setColor(QPalette::WindowText, currentTextColor());
    m_label->setPalette(p);
    update();
}

void TrellisCellView::setHilighted(bool hilighted)
{
    m_hilighted = hilighted;
    if (!m_disabled)
        applyColors();
    update();
}

void TrellisCellView::setDisabled(bool disabled)
{
    m_disabled = disabled;
    for (QWidget *w : controls()) {
        w->setEnabled(!disabled);
        w->update();
    }
    applyColors();
}

void TrellisCellView::scaleParts()
{
    if (scaled)
        return;
    scaled = true;
    scaleControls(scale);
}

void TrellisCellView::scaleControls(float factor)
{
    QFont f = m_label->font();
    f.setPixelSize(qMax(1, int(f.pixelSize() * factor + 0.5f)));
    m_label->setFont(f);
}

void TrellisCellView::setSubMenuController(TrellisController *controller)
{
    subMenuController = controller;
    resizeEvent(nullptr);
}

void TrellisCellView::dropSubMenuController()
{
    if (!subMenuController)
        return;
    // Deleted later: the nested level may be inside its own key handler.
    subMenuController->hide();
    subMenuController->deleteLater();
    subMenuController = nullptr;
}

void TrellisCellView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect strip(0, 0, width(), qMin(m_defaultHeight, height()));
    QColor fill = backgroundColor;
    if (m_hilighted)
        fill = m_disabled ? disabledColor : hilightColor;
    painter.fillRect(strip, fill);
    painter.setPen(QPen(borderColor, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(strip.adjusted(0, 0, -1, -1));
}

void TrellisCellView::mousePressEvent(QMouseEvent *event)
{
    if (m_disabled) {
        event->accept();
        return;
    }
    const qreal y = event->position().y();
    // The strip runs from the top edge to defaultHeight, both included.
    if (y < 0 || y > m_defaultHeight) {
        event->accept();
        return;
    }
    event->accept();
    if (eventClicked)
        eventClicked();
}

void TrellisCellView::resizeEvent(QResizeEvent *)
{
    layoutStrip(QRect(0, 0, width(), qMin(m_defaultHeight, height())));
    if (subMenuController) {
        // The nested level fills the rest: 8 in from the left, 4 from the right.
        subMenuController->setGeometry(8, m_defaultHeight, qMax(0, width() - 12),
                                       qMax(0, height() - m_defaultHeight));
    }
}

void TrellisCellView::layoutStrip(const QRect &strip)
{
    const int inset = int(8 * scale);
    m_label->setGeometry(strip.adjusted(inset, 0, -inset, 0));
}
