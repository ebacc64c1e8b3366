#include "SegmentedController.h"

#include "MenuTabButton.h"

#include "kit/AppContext.h"
#include "settings/VizoSettings.h"

#include <QPushButton>

#include <cmath>

namespace {

QString rgb(const QColor &c)
{
    return QStringLiteral("rgb(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

} // namespace

SegmentedController::SegmentedController(AppContext &context, QWidget *parent)
    : QWidget(parent), m_context(context)
{
    MenuTabButton::installAccessibility(metaObject()->className());
    setObjectName(QStringLiteral("viewBackground"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, backgroundColor);
    setPalette(p);
    m_viewOption = makeButton("viewOption");
    m_viewOCR = makeButton("viewOCR");
    m_viewSave = makeButton("viewSave");
    connect(m_viewOption, &QPushButton::clicked, this, &SegmentedController::onClickedOption);
    connect(m_viewOCR, &QPushButton::clicked, this, &SegmentedController::onClickedOCR);
    connect(m_viewSave, &QPushButton::clicked, this, &SegmentedController::onClickedSave);
    updateColors();
}

bool SegmentedController::ocrModeNow() const
{
    const VizoSettings *s = m_context.settings();
    return s && (s->vizoMode() == 1 || s->vizoMode() == 3);
}

QPushButton *SegmentedController::makeButton(const char *name)
{
    auto *button = new MenuTabButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setFocusPolicy(Qt::NoFocus);
    button->setFlat(true);
    return button;
}

void SegmentedController::setNumOfButton(int count)
{
    m_numOfButton = count;
    const bool ocrOnly = count == 1 && ocrModeNow();
    m_viewOption->setVisible(count >= 1 && !ocrOnly);
    m_viewOCR->setVisible(count >= 2 || ocrOnly);
    m_viewSave->setVisible(count >= 3);
    updateLayout(m_scale);
    updateColors();
}

void SegmentedController::setSelectedIndex(int index)
{
    m_selectedIndex = index;
    updateColors();
}

void SegmentedController::setLabelOption(const QString &text)
{
    m_viewOption->setText(text);
    m_viewOption->setAccessibleName(text);
}

void SegmentedController::setLabelOCR(const QString &text)
{
    m_viewOCR->setText(text);
    m_viewOCR->setAccessibleName(text);
}

void SegmentedController::setLabelSave(const QString &text)
{
    m_viewSave->setText(text);
    m_viewSave->setAccessibleName(text);
}

QPushButton *SegmentedController::buttonForIndex(int index) const
{
    switch (index) {
    case 0:
        return ocrModeNow() ? m_viewOCR : m_viewOption;
    case 1:
        return m_viewOCR;
    case 2:
        return m_viewSave;
    default:
        return nullptr;
    }
}

void SegmentedController::updateColors()
{
    const QPushButton *selected = buttonForIndex(m_selectedIndex);
    const int fontPx = std::max(1, int(std::lround(16 * m_scale)));
    for (QPushButton *button : {m_viewOption, m_viewOCR, m_viewSave}) {
        const bool on = button == selected;
        button->setStyleSheet(
            QStringLiteral("QPushButton { background: %1; color: %2; border: none; "
                           "font-size: %3px; font-weight: bold; }")
                .arg(rgb(on ? buttonHilightedBackground : buttonBackground),
                     rgb(on ? textHilightedColor : textColor))
                .arg(fontPx));
        button->setChecked(on);
    }
}

void SegmentedController::updateLayout(double scale)
{
    if (scale > 0 && scale != m_scale) {
        m_scale = scale;
        updateColors();
    }
    QList<QPushButton *> shown;
    for (QPushButton *button : {m_viewOption, m_viewOCR, m_viewSave}) {
        if (!button->isHidden())
            shown << button;
    }
    if (shown.isEmpty())
        return;
    const int gap = std::max(1, int(std::lround(2 * m_scale)));
    const int count = int(shown.size());
    const int width = (this->width() - gap * (count + 1)) / count;
    for (int i = 0; i < count; ++i)
        shown.at(i)->setGeometry(gap + i * (width + gap), gap, std::max(0, width),
                                 std::max(0, height() - 2 * gap));
}

void SegmentedController::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateLayout(m_scale);
}

void SegmentedController::onClickedOption()
{
    setSelectedIndex(0);
    if (eventClickedOption)
        eventClickedOption();
}

void SegmentedController::onClickedOCR()
{
    setSelectedIndex(ocrModeNow() ? 0 : 1);
    if (eventClickedOCR)
        eventClickedOCR();
}

void SegmentedController::onClickedSave()
{
    setSelectedIndex(2);
    if (eventClickedSave)
        eventClickedSave();
}
