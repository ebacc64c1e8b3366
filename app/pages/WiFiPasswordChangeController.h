#pragma once
// Changes the password of the device's Wi-Fi access point in three steps:
// the current password (checked against the settings' copy), a new one of
// eight letters or digits, and the new one again. Only a completed third
// step sends SetWifiPassword and stores the new password; every error is
// spoken and shown, and the step stays open.
//
// The fields show what is typed, in large type: people with low vision must
// be able to check every character of a password they cannot easily retype.
//
// Keys: Return in a field confirms its step; Esc cancels from any step.
#include "PageFrame.h"

#include "kit/ModalWindowController.h"

#include <functional>

class AppContext;
class QLabel;
class QLineEdit;
class QPushButton;

class PasswordStepView : public PageFrame
{
    Q_OBJECT

public:
    using Handler = std::function<void()>;

    QLabel *labelPassword() const { return m_labelPassword; }
    QLineEdit *textEditPassword() const { return m_textEditPassword; }
    QPushButton *buttonOK() const { return m_buttonOK; }
    QPushButton *buttonCancel() const { return m_buttonCancel; }
    QPushButton *buttonBack() const { return m_buttonBack; }

    Handler eventOK;
    Handler eventBack;
    Handler eventCancel;
    void onEndEdit();
    void onOK();
    void onBack();
    void onCancel();

    void focusField();

protected:
    // `filtered`: the field keeps to what a new password may be (see
    // PasswordFilter.h).
    PasswordStepView(AppContext &app, const char *objectName, const char *labelKey, const QString &labelFallback,
                     bool hasBack, bool filtered, QWidget *parent);
    void layoutContent(const QSize &designSize, double scale) override;

private:
    void filterText();

    QLabel *m_labelPassword = nullptr;
    QLineEdit *m_textEditPassword = nullptr;
    QPushButton *m_buttonOK = nullptr;
    QPushButton *m_buttonCancel = nullptr;
    QPushButton *m_buttonBack = nullptr;
};

class CurrentPasswordController : public PasswordStepView
{
    Q_OBJECT
public:
    explicit CurrentPasswordController(AppContext &context, QWidget *parent = nullptr);
};

class NewPasswordController : public PasswordStepView
{
    Q_OBJECT
public:
    explicit NewPasswordController(AppContext &context, QWidget *parent = nullptr);
};

class ConfirmNewPasswordController : public PasswordStepView
{
    Q_OBJECT
public:
    explicit ConfirmNewPasswordController(AppContext &context, QWidget *parent = nullptr);
};

class WiFiPasswordChangeController : public ModalWindowController
{
    Q_OBJECT

public:
    explicit WiFiPasswordChangeController(AppContext &context, QWidget *parent = nullptr);

    CurrentPasswordController *currentPasswordController() const
    {
        return m_currentPasswordController;
    }
    NewPasswordController *nPasswordController() const { return m_nPasswordController; }
    ConfirmNewPasswordController *confirmNewPasswordController() const
    {
        return m_confirmNewPasswordController;
    }
    PasswordStepView *visibleStep() const;

    void onEscKeyDown() override;
    void enableHotKeys() override;
    void closeUI() override;

protected:
    void windowDidLoad() override;
    void resizeEvent(QResizeEvent *event) override;
    // The window taking the focus hands it to the visible step's field.
    void focusInEvent(QFocusEvent *event) override;

private:
    void showStep(PasswordStepView *step);
    // Speaks and shows `message`, then gives `step` the keyboard again; after
    // the current event, so the field's Return is finished first.
    void refuse(const QString &message, PasswordStepView *step);
    void currentOK();
    void newOK();
    void confirmOK();
    void cancel();

    CurrentPasswordController *m_currentPasswordController = nullptr;
    NewPasswordController *m_nPasswordController = nullptr;
    ConfirmNewPasswordController *m_confirmNewPasswordController = nullptr;
};
