#pragma once
// A one-button message box over the whole screen's available area: the box
// itself is centred and scaled by the scale factor. Return, Esc and the
// button close it. Without its button it is the "Deleting files..." box,
// closed by the device's confirmation.
#include "ModalWindowController.h"

#include <QColor>

class QLabel;
class QPushButton;

class AppContext;

class MessageBoxController : public ModalWindowController
{
    Q_OBJECT

public:
    // The design size of the box, before scaling.
    static constexpr int kDesignWidth = 440;
    static constexpr int kDesignHeight = 180;
    // Colour of the area marking the focused button.
    static QColor focusColor() { return QColor::fromRgbF(52 / 255.0, 94 / 255.0, 242 / 255.0, 1.0); }

    explicit MessageBoxController(AppContext &context, QWidget *parent = nullptr);

    QString message() const { return m_message; }
    void setMessage(const QString &message) { m_message = message; }
    QString buttonLabel() const { return m_buttonLabel; }
    void setButtonLabel(const QString &label) { m_buttonLabel = label; }
    bool buttonVisible() const { return m_buttonVisible; }
    void setButtonVisible(bool visible) { m_buttonVisible = visible; }

    QLabel *labelMessage() const { return m_labelMessage; }
    QPushButton *buttonOK() const { return m_buttonOK; }
    QWidget *contentView() const { return m_contentView; }
    QWidget *focusViewForYesButton() const { return m_focusViewForYesButton; }

    void onOK();
    void onReturnKeyDown() override;
    void onEscKeyDown() override;
    void enableHotKeys() override;
    void doLayout();

protected:
    void windowDidLoad() override;
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_message;
    QString m_buttonLabel;
    bool m_buttonVisible = true;
    QWidget *m_contentView = nullptr;
    QLabel *m_labelMessage = nullptr;
    QPushButton *m_buttonOK = nullptr;
    QWidget *m_focusViewForYesButton = nullptr;
};
