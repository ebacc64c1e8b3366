#include "YesNoMessageBoxController.h"

#include "kit/AppContext.h"
#include "BorderedView.h"
#include "BoxLayout.h"
#include "DesignLayout.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace {
const QRect kLabelRect(20, 16, 400, 96);
const QRect kFocusYesRect(90, 118, 120, 48);
const QRect kButtonYesRect(96, 124, 108, 36);
const QRect kFocusNoRect(230, 118, 120, 48);
const QRect kButtonNoRect(236, 124, 108, 36);
constexpr int kLabelFontPx = 17;
constexpr int kButtonFontPx = 15;
} // namespace

YesNoMessageBoxController::YesNoMessageBoxController(AppContext &app, QWidget *parent)
    : ModalWindowController(app, parent)
{
    setObjectName(QStringLiteral("YesNoMessageBoxController"));
    BoxLayout::prepareWindow(this);
    setFocusPolicy(Qt::StrongFocus);

    auto *content = BoxLayout::makeContentView(this);
    m_contentView = content;
    m_labelMessage = BoxLayout::makeMessageLabel(content);

    m_focusViewForYesButton = BoxLayout::makeFocusView(content);
    m_focusViewForYesButton->setObjectName(QStringLiteral("focusViewForYesButton"));
    m_focusViewForNoButton = BoxLayout::makeFocusView(content);
    m_focusViewForNoButton->setObjectName(QStringLiteral("focusViewForNoButton"));

    m_buttonYes = BoxLayout::makeButton(content, QStringLiteral("buttonYes"));
    connect(m_buttonYes, &QPushButton::clicked, this, &YesNoMessageBoxController::onYes);
    m_buttonNo = BoxLayout::makeButton(content, QStringLiteral("buttonNo"));
    connect(m_buttonNo, &QPushButton::clicked, this, &YesNoMessageBoxController::onNo);

    // The questions asked here confirm deletions and resets: No has the
    // focus at first, so a hasty Return changes nothing.
    m_focusViewForYesButton->setVisible(false);
    m_focusViewForNoButton->setVisible(true);
}

void YesNoMessageBoxController::windowDidLoad()
{
    setIsFullSize(true);
    ModalWindowController::windowDidLoad();
    m_labelMessage->setText(m_message);
    m_labelMessage->setAccessibleName(m_message);
    m_buttonYes->setText(m_buttonLabelYes);
    m_buttonYes->setAccessibleName(m_buttonLabelYes);
    m_buttonNo->setText(m_buttonLabelNo);
    m_buttonNo->setAccessibleName(m_buttonLabelNo);
    updateButtonAlpha();
    doLayout();
    setWindowTitle(m_message.section(QLatin1Char('\n'), 0, 0));
}

void YesNoMessageBoxController::doLayout()
{
    const double scale = context().scaleFactor();
    m_contentView->setGeometry(
        BoxLayout::centredBox(size(), QSize(kDesignWidth, kDesignHeight), scale > 0 ? scale : 1.0));
    DesignLayout layout;
    layout.add(m_labelMessage, kLabelRect, kLabelFontPx);
    layout.add(m_focusViewForYesButton, kFocusYesRect);
    layout.add(m_buttonYes, kButtonYesRect, kButtonFontPx);
    layout.add(m_focusViewForNoButton, kFocusNoRect);
    layout.add(m_buttonNo, kButtonNoRect, kButtonFontPx);
    layout.apply(scale);
}

void YesNoMessageBoxController::setYesFocused(bool yesFocused)
{
    m_focusViewForYesButton->setVisible(yesFocused);
    m_focusViewForNoButton->setVisible(!yesFocused);
    updateButtonAlpha();
}

void YesNoMessageBoxController::updateButtonAlpha()
{
    // isHidden(), not isVisible(): the answer must not depend on whether the
    // window itself is on screen.
    BoxLayout::setAlpha(m_buttonYes, m_focusViewForYesButton->isHidden() ? 1.0 : 0.6);
    BoxLayout::setAlpha(m_buttonNo, m_focusViewForNoButton->isHidden() ? 1.0 : 0.6);
}

void YesNoMessageBoxController::keyPressEvent(QKeyEvent *event)
{
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        m_focusViewForYesButton->setVisible(m_focusViewForYesButton->isHidden());
        m_focusViewForNoButton->setVisible(m_focusViewForNoButton->isHidden());
        updateButtonAlpha();
        break;
    case Qt::Key_Right:
        setYesFocused(false);
        break;
    case Qt::Key_Left:
        setYesFocused(true);
        break;
    default:
        ModalWindowController::keyPressEvent(event);
        return;
    }
    event->accept();
}

bool YesNoMessageBoxController::focusNextPrevChild(bool)
{
    // Tab moves the box's own focus mark, not Qt's focus chain.
    return false;
}

void YesNoMessageBoxController::onYes()
{
    m_isYesClicked = true;
    closeWindow();
}

void YesNoMessageBoxController::onNo()
{
    m_isYesClicked = false;
    closeWindow();
}

void YesNoMessageBoxController::onReturnKeyDown()
{
    if (m_focusViewForYesButton->isHidden())
        onNo();
    else
        onYes();
}

void YesNoMessageBoxController::onEscKeyDown()
{
    onNo();
}

void YesNoMessageBoxController::enableHotKeys()
{
    setEnableHotKeyReturn(true);
    setEnableHotKeyEsc(true);
}

void YesNoMessageBoxController::paintEvent(QPaintEvent *)
{
    BoxLayout::paintBackdrop(this);
}
