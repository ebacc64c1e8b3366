#include "MessageBoxController.h"

#include "kit/AppContext.h"
#include "BorderedView.h"
#include "BoxLayout.h"
#include "DesignLayout.h"

#include <QLabel>
#include <QPushButton>

namespace {
// Design rectangles inside the box.
const QRect kLabelRect(20, 16, 400, 96);
const QRect kFocusRect(160, 118, 120, 48);
const QRect kButtonRect(166, 124, 108, 36);
constexpr int kLabelFontPx = 17;
constexpr int kButtonFontPx = 15;
} // namespace

MessageBoxController::MessageBoxController(AppContext &app, QWidget *parent)
    : ModalWindowController(app, parent)
{
    setObjectName(QStringLiteral("MessageBoxController"));
    BoxLayout::prepareWindow(this);

    auto *content = BoxLayout::makeContentView(this);
    m_contentView = content;
    m_labelMessage = BoxLayout::makeMessageLabel(content);

    m_focusViewForYesButton = BoxLayout::makeFocusView(content);
    m_focusViewForYesButton->setObjectName(QStringLiteral("focusViewForYesButton"));

    m_buttonOK = BoxLayout::makeButton(content, QStringLiteral("buttonOK"));
    connect(m_buttonOK, &QPushButton::clicked, this, &MessageBoxController::onOK);
}

void MessageBoxController::windowDidLoad()
{
    setIsFullSize(true);
    ModalWindowController::windowDidLoad();
    doLayout();
    m_labelMessage->setText(m_message);
    m_labelMessage->setAccessibleName(m_message);
    m_buttonOK->setText(m_buttonLabel);
    m_buttonOK->setAccessibleName(m_buttonLabel);
    BoxLayout::setAlpha(m_buttonOK, 0.6);
    if (!m_buttonVisible) {
        m_buttonOK->hide();
        m_focusViewForYesButton->hide();
    }
    setWindowTitle(m_message.section(QLatin1Char('\n'), 0, 0));
}

void MessageBoxController::doLayout()
{
    const double scale = context().scaleFactor();
    m_contentView->setGeometry(
        BoxLayout::centredBox(size(), QSize(kDesignWidth, kDesignHeight), scale > 0 ? scale : 1.0));
    DesignLayout layout;
    layout.add(m_labelMessage, kLabelRect, kLabelFontPx);
    layout.add(m_focusViewForYesButton, kFocusRect);
    layout.add(m_buttonOK, kButtonRect, kButtonFontPx);
    layout.apply(scale);
}

void MessageBoxController::onOK()
{
    closeWindow();
}

void MessageBoxController::onReturnKeyDown()
{
    closeWindow();
}

void MessageBoxController::onEscKeyDown()
{
    closeWindow();
}

void MessageBoxController::enableHotKeys()
{
    setEnableHotKeyReturn(true);
    setEnableHotKeyEsc(true);
}

void MessageBoxController::paintEvent(QPaintEvent *)
{
    BoxLayout::paintBackdrop(this);
}
