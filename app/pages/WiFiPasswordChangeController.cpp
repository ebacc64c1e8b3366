#include "WiFiPasswordChangeController.h"

#include "PageSupport.h"
#include "PasswordFilter.h"

#include "kit/AppContext.h"
#include "kit/DesignLayout.h"
#include "protocol/VizoCommands.h"
#include "settings/VizoSettings.h"

#include <bramble/BrDispatch.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

namespace {
constexpr int kLabelFontPx = 20;
constexpr int kFieldFontPx = 32;
} // namespace

PasswordStepView::PasswordStepView(AppContext &app, const char *objectName, const char *labelKey,
                                   const QString &labelFallback, bool hasBack, bool filtered,
                                   QWidget *parent)
    : PageFrame(app, parent)
{
    setObjectName(QLatin1String(objectName));
    contentView()->setAutoFillBackground(true);
    QPalette p = contentView()->palette();
    p.setColor(QPalette::Window, QColor(64, 64, 64));
    contentView()->setPalette(p);

    const QString label = PageSupport::optionText(context(), labelKey, labelFallback);
    m_labelPassword = new QLabel(label, contentView());
    m_labelPassword->setObjectName(QStringLiteral("labelPassword"));
    m_labelPassword->setStyleSheet(QStringLiteral("color: white;"));
    m_labelPassword->setAlignment(Qt::AlignCenter);

    m_textEditPassword = new QLineEdit(contentView());
    m_textEditPassword->setObjectName(QStringLiteral("textEditPassword"));
    m_textEditPassword->setAccessibleName(label);
    m_textEditPassword->setAlignment(Qt::AlignCenter);
    Qt::InputMethodHints hints = Qt::ImhNoPredictiveText | Qt::ImhSensitiveData;
    if (filtered)
        hints |= Qt::ImhLatinOnly;
    m_textEditPassword->setInputMethodHints(hints);
    m_textEditPassword->setStyleSheet(
        QStringLiteral("QLineEdit { background: white; color: black; border: 4px solid #9fb4d8; "
                       "border-radius: 6px;"
                       " font-family: monospace; }"
                       "QLineEdit:focus { border-color: #f0c000; }"));
    m_labelPassword->setBuddy(m_textEditPassword);
    if (filtered)
        connect(m_textEditPassword, &QLineEdit::textChanged, this, &PasswordStepView::filterText);
    // Return, not the loss of focus: a message box taking the focus must not
    // confirm the step a second time.
    connect(m_textEditPassword, &QLineEdit::returnPressed, this, &PasswordStepView::onEndEdit);

    if (hasBack) {
        m_buttonBack =
            addButton(QStringLiteral("buttonBack"),
                      PageSupport::optionText(context(), "Page.Back", QStringLiteral("Back")), true);
        connect(m_buttonBack, &QPushButton::clicked, this, &PasswordStepView::onBack);
    }
    m_buttonOK = addButton(QStringLiteral("buttonOK"),
                           PageSupport::messageText(context(), "Alert.OK", QStringLiteral("OK")));
    m_buttonCancel = addButton(QStringLiteral("buttonCancel"),
                               PageSupport::optionText(context(), "Page.Cancel", QStringLiteral("Cancel")));
    connect(m_buttonOK, &QPushButton::clicked, this, &PasswordStepView::onOK);
    connect(m_buttonCancel, &QPushButton::clicked, this, &PasswordStepView::onCancel);
}

void PasswordStepView::filterText()
{
    bool refused = false;
    const QString text = m_textEditPassword->text();
    const QString kept = PasswordFilter::filtered(text, &refused);
    if (!refused)
        return;
    const int cursor = m_textEditPassword->cursorPosition();
    const QSignalBlocker quiet(m_textEditPassword);
    m_textEditPassword->setText(kept);
    m_textEditPassword->setCursorPosition(
        std::min(int(kept.size()), std::max(0, cursor - int(text.size() - kept.size()))));
    QApplication::beep();
}

void PasswordStepView::focusField()
{
    m_textEditPassword->setFocus(Qt::OtherFocusReason);
    m_textEditPassword->selectAll();
}

void PasswordStepView::layoutContent(const QSize &size, double s)
{
    const int fieldWidth = std::min(size.width() - 40, 320);
    const int x = (size.width() - fieldWidth) / 2;
    const int top = std::max(8, (size.height() - 44 - 12 - 60) / 2);
    DesignLayout layout;
    layout.add(m_labelPassword, QRect(20, top, size.width() - 40, 44), kLabelFontPx);
    layout.add(m_textEditPassword, QRect(x, top + 56, fieldWidth, 60), kFieldFontPx);
    layout.apply(s);
}

void PasswordStepView::onEndEdit()
{
    onOK();
}

void PasswordStepView::onOK()
{
    if (eventOK)
        eventOK();
}

void PasswordStepView::onBack()
{
    if (eventBack)
        eventBack();
}

void PasswordStepView::onCancel()
{
    if (eventCancel)
        eventCancel();
}

// The current password is whatever the device reports, which may lie
// outside the new password's rule (the device takes twelve bytes, the option
// file any text): the field takes it as typed, or it could never be changed.
CurrentPasswordController::CurrentPasswordController(AppContext &app, QWidget *parent)
    : PasswordStepView(app, "CurrentPasswordController", "WiFiPassword.Page.LabelCurrentPassword",
                       QStringLiteral("Current password"), false, false, parent)
{
}

NewPasswordController::NewPasswordController(AppContext &app, QWidget *parent)
    : PasswordStepView(app, "NewPasswordController", "WiFiPassword.Page.LabelNewPassword",
                       QStringLiteral("New password"), true, true, parent)
{
}

ConfirmNewPasswordController::ConfirmNewPasswordController(AppContext &app, QWidget *parent)
    : PasswordStepView(app, "ConfirmNewPasswordController", "WiFiPassword.Page.LabelConfirmNewPassword",
                       QStringLiteral("Confirm new password"), true, true, parent)
{
}

WiFiPasswordChangeController::WiFiPasswordChangeController(AppContext &app, QWidget *parent)
    : ModalWindowController(app, parent)
{
    setObjectName(QStringLiteral("WiFiPasswordChangeController"));
    setIsFullSize(true);
    m_currentPasswordController = new CurrentPasswordController(context(), this);
    m_nPasswordController = new NewPasswordController(context(), this);
    m_confirmNewPasswordController = new ConfirmNewPasswordController(context(), this);
}

PasswordStepView *WiFiPasswordChangeController::visibleStep() const
{
    if (!m_nPasswordController->isHidden())
        return m_nPasswordController;
    if (!m_confirmNewPasswordController->isHidden())
        return m_confirmNewPasswordController;
    return m_currentPasswordController;
}

void WiFiPasswordChangeController::windowDidLoad()
{
    ModalWindowController::windowDidLoad();
    const QString title =
        PageSupport::optionText(context(), "WiFiPassword.Page.Title", QStringLiteral("Change Wi-Fi password"));
    setWindowTitle(title);
    for (PasswordStepView *step :
         {static_cast<PasswordStepView *>(m_currentPasswordController),
          static_cast<PasswordStepView *>(m_nPasswordController),
          static_cast<PasswordStepView *>(m_confirmNewPasswordController)}) {
        step->setTitle(title);
        step->setGeometry(rect());
        step->eventCancel = [this] { cancel(); };
    }
    m_currentPasswordController->eventOK = [this] { currentOK(); };
    m_nPasswordController->eventOK = [this] { newOK(); };
    m_nPasswordController->eventBack = [this] { showStep(m_currentPasswordController); };
    m_confirmNewPasswordController->eventOK = [this] { confirmOK(); };
    m_confirmNewPasswordController->eventBack = [this] { showStep(m_nPasswordController); };
    showStep(m_currentPasswordController);
}

void WiFiPasswordChangeController::resizeEvent(QResizeEvent *)
{
    for (QWidget *step : {static_cast<QWidget *>(m_currentPasswordController),
                          static_cast<QWidget *>(m_nPasswordController),
                          static_cast<QWidget *>(m_confirmNewPasswordController)})
        step->setGeometry(rect());
}

void WiFiPasswordChangeController::focusInEvent(QFocusEvent *)
{
    visibleStep()->focusField();
}

void WiFiPasswordChangeController::showStep(PasswordStepView *step)
{
    for (PasswordStepView *s : {static_cast<PasswordStepView *>(m_currentPasswordController),
                                static_cast<PasswordStepView *>(m_nPasswordController),
                                static_cast<PasswordStepView *>(m_confirmNewPasswordController)})
        s->setVisible(s == step);
    step->focusField();
}

void WiFiPasswordChangeController::refuse(const QString &message, PasswordStepView *step)
{
    QPointer<WiFiPasswordChangeController> self(this);
    QPointer<PasswordStepView> field(step);
    brPostMain(
        [self, field, message] {
            if (!self || self->isClosed())
                return;
            self->context().speak(message);
            self->context().showMessageBox(message);
            if (self && !self->isClosed() && field)
                field->focusField();
        },
        this);
}

void WiFiPasswordChangeController::currentOK()
{
    const QString entry = m_currentPasswordController->textEditPassword()->text();
    if (entry == context().settings()->options()->passwords()) {
        context().speak(
            PageSupport::messageText(context(), "TTS.NewPasswords", QStringLiteral("Enter the new password")));
        showStep(m_nPasswordController);
        return;
    }
    refuse(PageSupport::messageText(context(), "Error.InvalidPassword",
                                    QStringLiteral("The password is not correct.")),
           m_currentPasswordController);
}

void WiFiPasswordChangeController::newOK()
{
    if (m_nPasswordController->textEditPassword()->text().size() >= PasswordFilter::kMaxLength) {
        context().speak(PageSupport::messageText(context(), 
            "TTS.ConfirmPasswords", QStringLiteral("Enter the new password again")));
        showStep(m_confirmNewPasswordController);
        return;
    }
    refuse(PageSupport::messageText(context(), "Error.PasswordIsTooShort",
                                    QStringLiteral("The password is too short.")),
           m_nPasswordController);
}

void WiFiPasswordChangeController::confirmOK()
{
    const QString password = m_nPasswordController->textEditPassword()->text();
    const auto record = VizoCmd::SetWifiPassword::fromText(password);
    if (m_confirmNewPasswordController->textEditPassword()->text() != password || !record) {
        refuse(PageSupport::messageText(context(), "Error.InvalidPassword",
                                        QStringLiteral("The password is not correct.")),
               m_confirmNewPasswordController);
        return;
    }
    context().settings()->options()->setPasswords(password);
    context().writeVizoPacket(record->payload());
    PageSupport::speakLater(context(), PageSupport::messageText(context(), "TTS.Saved", QStringLiteral("Saved")));
    closeWindow();
}

void WiFiPasswordChangeController::cancel()
{
    if (isClosed())
        return;
    PageSupport::speakLater(context(), PageSupport::messageText(context(), "TTS.Cancelled", QStringLiteral("Cancelled")));
    closeWindow();
}

void WiFiPasswordChangeController::onEscKeyDown()
{
    visibleStep()->onCancel();
}

void WiFiPasswordChangeController::enableHotKeys()
{
    // Return and Backspace belong to the password fields.
    setEnableHotKeyEsc(true);
}

void WiFiPasswordChangeController::closeUI()
{
    if (isWindowLoaded() && !isClosed())
        cancel();
}
