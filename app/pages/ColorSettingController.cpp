#include "ColorSettingController.h"

#include "ColorSubPages.h"
#include "PageSupport.h"

#include "kit/AppContext.h"
#include "protocol/VizoCommands.h"
#include "settings/VizoColorSlot.h"
#include "settings/VizoSettings.h"

#include <QKeyEvent>

ColorSettingController::ColorSettingController(AppContext &app, QWidget *parent) : ModalWindowController(app, parent)
{
    setObjectName(QStringLiteral("ColorSettingController"));
    setIsFullSize(true);
    setFocusPolicy(Qt::StrongFocus);
    m_letterColorSetting = new LetterColorSettingController(context(), this);
    m_backgroundColorSetting = new BackgroundColorSettingController(context(), this);
    m_backgroundColorSetting->hide();
}

ColorSettingController::~ColorSettingController() = default;

void ColorSettingController::setColorSlot(VizoColorSlot *slot)
{
    m_colorSlot = slot;
    m_letterColorSetting->setColorSlot(slot);
    m_backgroundColorSetting->setColorSlot(slot);
}

ColorSubPageController *ColorSettingController::visiblePage() const
{
    if (m_backgroundColorSetting->isHidden())
        return m_letterColorSetting;
    return m_backgroundColorSetting;
}

bool ColorSettingController::canDisable() const
{
    const VizoSettings *settings = context().settings();
    const bool valley = settings && settings->vizoVersion() == VizoSettings::Valley;
    return m_colorSlotIndex != 1 && !valley;
}

void ColorSettingController::windowDidLoad()
{
    ModalWindowController::windowDidLoad();
    if (!m_colorSlot) {
        closeWindow();
        return;
    }
    context().speak(PageSupport::messageText(context(), "TTS.LetterColor", QStringLiteral("Text color: %1"))
                           .arg(ColorSubPageController::colorName(context(), m_colorSlot->textColor())));

    const bool distance = m_cameraMode == 0;
    m_letterColorSetting->setTitle(distance
                                       ? PageSupport::optionText(context(), "ColorMode.Distance.TextColorChangePage.Title",
                                                    QStringLiteral("Distance view: text color"))
                                       : PageSupport::optionText(context(), "ColorMode.Near.TextColorChangePage.Title",
                                                    QStringLiteral("Near view: text color")));
    m_backgroundColorSetting->setTitle(
        distance ? PageSupport::optionText(context(), "ColorMode.Distance.BackgroundColorChangePage.Title",
                              QStringLiteral("Distance view: background color"))
                 : PageSupport::optionText(context(), "ColorMode.Near.BackgroundColorChangePage.Title",
                              QStringLiteral("Near view: background color")));
    setWindowTitle(m_letterColorSetting->title());

    const bool offered = canDisable();
    m_letterColorSetting->setDisableOffered(offered);
    m_backgroundColorSetting->setDisableOffered(offered);
    m_letterColorSetting->setGeometry(rect());
    m_backgroundColorSetting->setGeometry(rect());
    m_letterColorSetting->applyVizoColor();
    m_backgroundColorSetting->applyVizoColor();

    m_openingText = m_colorSlot->textColor();
    m_openingBg = m_colorSlot->bgColor();

    for (ColorSubPageController *page :
         {static_cast<ColorSubPageController *>(m_letterColorSetting),
          static_cast<ColorSubPageController *>(m_backgroundColorSetting)}) {
        page->eventCancel = [this] { cancel(); };
        page->eventDisable = [this] { disable(); };
    }
    m_letterColorSetting->eventOK = [this] { letterOK(); };
    m_backgroundColorSetting->eventOK = [this] { backgroundOK(); };
    m_backgroundColorSetting->eventBack = [this] { back(); };
}

void ColorSettingController::resizeEvent(QResizeEvent *)
{
    m_letterColorSetting->setGeometry(rect());
    m_backgroundColorSetting->setGeometry(rect());
}

void ColorSettingController::showPage(ColorSubPageController *page)
{
    ColorSubPageController *other =
        page == m_letterColorSetting
            ? static_cast<ColorSubPageController *>(m_backgroundColorSetting)
            : static_cast<ColorSubPageController *>(m_letterColorSetting);
    page->show();
    other->hide();
    page->applyVizoColor();
    setWindowTitle(page->title());
}

void ColorSettingController::writePacket()
{
    if (!m_colorSlot)
        return;
    context().writeVizoPacket(
        VizoCmd::SetColorSlot(VizoCmd::colorSlotCode(m_cameraMode == 0 ? 0 : 1, m_colorSlotIndex),
                              std::uint8_t(m_colorSlot->textColor()),
                              std::uint8_t(m_colorSlot->bgColor()))
            .payload());
}

void ColorSettingController::letterOK()
{
    // Grey scale has no background of its own: nothing to ask for.
    if (m_colorSlot->textColor() == VizoColorSlot::GrayScale) {
        writePacket();
        closeWindow();
        return;
    }
    context().speak(
        PageSupport::messageText(context(), "TTS.BackgroundColor", QStringLiteral("Background color: %1"))
            .arg(ColorSubPageController::colorName(context(), m_colorSlot->bgColor())));
    showPage(m_backgroundColorSetting);
}

void ColorSettingController::backgroundOK()
{
    writePacket();
    closeWindow();
}

void ColorSettingController::back()
{
    showPage(m_letterColorSetting);
}

void ColorSettingController::cancel()
{
    context().speak(PageSupport::messageText(context(), "TTS.Cancelled", QStringLiteral("Cancelled")));
    m_colorSlot->setTextColor(m_openingText);
    m_colorSlot->setBgColor(m_openingBg);
    closeWindow();
}

void ColorSettingController::disable()
{
    if (!canDisable() || isClosed())
        return;
    const QString question = PageSupport::messageText(context(), 
        "ConfirmAlert.DisableColor", QStringLiteral("Disable this color setting?"));
    context().speak(question);
    if (!context().showYesNoMessageBox(question) || isClosed())
        return;
    m_colorSlot->setTextColor(VizoColorSlot::Disable);
    m_colorSlot->setBgColor(VizoColorSlot::Disable);
    writePacket();
    closeWindow();
}

void ColorSettingController::onReturnKeyDown()
{
    visiblePage()->onOK();
}

void ColorSettingController::onEscKeyDown()
{
    visiblePage()->onCancel();
}

void ColorSettingController::onBackspaceKeyDown()
{
    visiblePage()->onCancel();
}

void ColorSettingController::enableHotKeys()
{
    setEnableHotKeyReturn(true);
    setEnableHotKeyEsc(true);
    setEnableHotKeyBackspace(true);
}

void ColorSettingController::closeUI()
{
    if (!isClosed() && m_colorSlot)
        cancel();
}

void ColorSettingController::keyPressEvent(QKeyEvent *event)
{
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    ColorSubPageController *page = visiblePage();
    switch (event->key()) {
    case Qt::Key_Left:
        page->onPrevColorButtonClicked();
        break;
    case Qt::Key_Right:
        page->onNextColorButtonClicked();
        break;
    case Qt::Key_Down:
        page->onReverseButtonClicked();
        break;
    case Qt::Key_Up:
        if (canDisable())
            page->onDisableButtonClicked();
        break;
    default:
        ModalWindowController::keyPressEvent(event);
        return;
    }
    event->accept();
}
