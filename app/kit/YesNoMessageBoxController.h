#pragma once
// A question with Yes and No buttons over the whole screen's available area.
// Tab and the Left and Right arrows move the focus between the buttons;
// Return answers the focused button, Esc answers No.
#include "ModalWindowController.h"

class QLabel;
class QPushButton;

class AppContext;

class YesNoMessageBoxController : public ModalWindowController
{
    Q_OBJECT

public:
    static constexpr int kDesignWidth = 440;
    static constexpr int kDesignHeight = 180;

    explicit YesNoMessageBoxController(AppContext &context, QWidget *parent = nullptr);

    QString message() const { return m_message; }
    void setMessage(const QString &message) { m_message = message; }
    QString buttonLabelYes() const { return m_buttonLabelYes; }
    void setButtonLabelYes(const QString &label) { m_buttonLabelYes = label; }
    QString buttonLabelNo() const { return m_buttonLabelNo; }
    void setButtonLabelNo(const QString &label) { m_buttonLabelNo = label; }
    bool isYesClicked() const { return m_isYesClicked; }

    QLabel *labelMessage() const { return m_labelMessage; }
    QPushButton *buttonYes() const { return m_buttonYes; }
    QPushButton *buttonNo() const { return m_buttonNo; }
    QWidget *focusViewForYesButton() const { return m_focusViewForYesButton; }
    QWidget *focusViewForNoButton() const { return m_focusViewForNoButton; }
    QWidget *contentView() const { return m_contentView; }

    void onYes();
    void onNo();
    void onReturnKeyDown() override;
    void onEscKeyDown() override;
    void enableHotKeys() override;
    void doLayout();

protected:
    void windowDidLoad() override;
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void setYesFocused(bool yesFocused);
    void updateButtonAlpha();

    QString m_message;
    QString m_buttonLabelYes;
    QString m_buttonLabelNo;
    bool m_isYesClicked = false;
    QWidget *m_contentView = nullptr;
    QLabel *m_labelMessage = nullptr;
    QPushButton *m_buttonYes = nullptr;
    QPushButton *m_buttonNo = nullptr;
    QWidget *m_focusViewForYesButton = nullptr;
    QWidget *m_focusViewForNoButton = nullptr;
};
