#include "ContrastController.h"

#include "CameraStepView.h"
#include "PageSupport.h"

#include "kit/AppContext.h"
#include "kit/DesignLayout.h"
#include "protocol/VizoCommands.h"
#include "settings/VizoSettings.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include <algorithm>
#include <cmath>

namespace {
// Footer room left of the OK and Close buttons, in design units.
constexpr int kButtonsDesignWidth = 2 * 120 + 3 * 12;
constexpr int kValueDesignWidth = 56;
} // namespace

ContrastController::ContrastController(AppContext &app, QWidget *parent) : CameraPageController(app, parent)
{
    setObjectName(QStringLiteral("ContrastController"));
    m_sliderContainer = new QWidget(step()->footerView());
    m_sliderContainer->setObjectName(QStringLiteral("sliderContainer"));
    m_slider = new QSlider(Qt::Horizontal, m_sliderContainer);
    m_slider->setObjectName(QStringLiteral("slider"));
    m_slider->setRange(0, kMaxContrast);
    // The page steps the value from the keyboard; a focused slider would
    // take the arrows first.
    m_slider->setFocusPolicy(Qt::NoFocus);
    m_valueLabel = new QLabel(m_sliderContainer);
    m_valueLabel->setObjectName(QStringLiteral("labelValue"));
    m_valueLabel->setAlignment(Qt::AlignCenter);
    m_valueLabel->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));
    connect(m_slider, &QSlider::valueChanged, this, &ContrastController::onSliderValueChanged);
}

QPushButton *ContrastController::buttonOK() const
{
    return step()->buttonOK();
}

QPushButton *ContrastController::buttonClose() const
{
    return step()->buttonCancel();
}

int ContrastController::view() const
{
    const VizoSettings *settings = context().settings();
    return settings && settings->cameraMode() == 0 ? 0 : 1;
}

QString ContrastController::title() const
{
    return view() == 0 ? PageSupport::optionText(context(), "Contrast.Distance.ContrastController.Title",
                                                 QStringLiteral("Distance view contrast"))
                       : PageSupport::optionText(context(), "Contrast.Near.ContrastController.Title",
                                                 QStringLiteral("Near view contrast"));
}

void ContrastController::windowDidLoad()
{
    CameraPageController::windowDidLoad();
    const VizoSettings *settings = context().settings();
    const int stored = view() == 0 ? settings->options()->contrastForDistance()
                                   : settings->options()->contrastForNear();
    m_sliderValue = m_initialSliderValue = std::clamp(stored, 0, kMaxContrast);
    {
        const QSignalBlocker quiet(m_slider);
        m_slider->setValue(m_sliderValue);
    }
    m_slider->setAccessibleName(title());
    showValue();
    resizeEvent(nullptr);
}

void ContrastController::resizeEvent(QResizeEvent *event)
{
    CameraPageController::resizeEvent(event);
    const double s = PageSupport::scale(context());
    // The footer spans the window; its own size may not be known yet.
    const int footerWidth = int(width() / s);
    const int width = std::max(0, footerWidth - kButtonsDesignWidth - 12);
    DesignLayout layout;
    layout.add(m_sliderContainer, QRect(12, 0, width, PageFrame::kFooterDesignHeight));
    layout.add(m_valueLabel, QRect(0, 6, kValueDesignWidth, 36), PageFrame::kButtonFontPx + 4);
    layout.add(m_slider,
               QRect(kValueDesignWidth + 8, 6, std::max(0, width - kValueDesignWidth - 8), 36));
    layout.apply(s);
    // The handle grows with the page, so it can be seen and grabbed.
    const int groove = int(std::lround(5 * s));
    const int handle = int(std::lround(16 * s));
    m_slider->setStyleSheet(
        QStringLiteral(
            "QSlider::groove:horizontal { height: %1px; background: #9fb4d8; border-radius: %2px; }"
            "QSlider::handle:horizontal { background: white; border: %3px solid #1a407a;"
            " width: %4px; margin: -%5px 0; border-radius: %6px; }")
            .arg(groove)
            .arg(groove / 2)
            .arg(std::max(2, groove / 2))
            .arg(handle)
            .arg((handle - groove) / 2)
            .arg(handle / 4));
}

void ContrastController::showValue()
{
    m_valueLabel->setText(QString::number(m_sliderValue));
}

void ContrastController::sendContrast(int value)
{
    const VizoSettings *settings = context().settings();
    const int v = view();
    VizoColorMode *mode = settings->options()->colorModeForCameraMode(v);
    const int index = v == 0 ? settings->selectedColorSlotForDistanceViewMode()
                             : settings->selectedColorSlotForNearViewMode();
    const VizoColorSlot *slot = mode->slot(index);
    const int textColor = slot ? slot->textColor() : VizoColorSlot::Natural;
    context().writeVizoPacket(
        VizoCmd::SetContrast(VizoCmd::contrastTarget(v, textColor), std::uint16_t(value))
            .payload());
}

void ContrastController::store(int value)
{
    VizoOptions *options = context().settings()->options();
    if (view() == 0)
        options->setContrastForDistance(value);
    else
        options->setContrastForNear(value);
}

void ContrastController::onSliderValueChanged(int value)
{
    if (isClosed() || !isWindowLoaded())
        return;
    m_sliderValue = value;
    showValue();
    sendContrast(value);
}

void ContrastController::keyPressEvent(QKeyEvent *event)
{
    // Held keys keep stepping, as the contrast hot keys do.
    int next = m_sliderValue;
    switch (event->key()) {
    case Qt::Key_Left:
        next = std::max(0, m_sliderValue - 1);
        break;
    case Qt::Key_Right:
        next = std::min(kMaxContrast, m_sliderValue + 1);
        break;
    default:
        CameraPageController::keyPressEvent(event);
        return;
    }
    event->accept();
    if (next != m_sliderValue)
        m_slider->setValue(next); // handled as a slider change
}

void ContrastController::onOK()
{
    if (isClosed())
        return;
    store(m_sliderValue);
    closeWindow();
}

void ContrastController::onCancel()
{
    if (isClosed())
        return;
    store(m_initialSliderValue);
    sendContrast(m_initialSliderValue);
    closeWindow();
}
