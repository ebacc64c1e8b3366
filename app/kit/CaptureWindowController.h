#pragma once
// The full-screen windows that show the picture while a stored image or a
// stored OCR text is open. They borrow the main window's capture view for as
// long as they are shown, carry a tree menu of their own and follow the
// device's mode reports. The image and OCR windows differ only in how they
// answer a mode report and in what quitting sends.
#include "ModalWindowController.h"

#include <QPointer>

class AbstractMenuController;
class QLabel;
class QPushButton;

class AppContext;

class CaptureWindowController : public ModalWindowController
{
    Q_OBJECT

public:
    static constexpr int kFooterDesignHeight = 48;

    explicit CaptureWindowController(AppContext &context, QWidget *parent = nullptr);
    ~CaptureWindowController() override;

    bool isVizoMenuOpen() const { return m_isVizoMenuOpen; }
    void setIsVizoMenuOpen(bool open) { m_isVizoMenuOpen = open; }
    QLabel *labelHeader() const { return m_labelHeader; }
    QWidget *captureViewContainer() const { return m_captureViewContainer; }
    QWidget *footerContainer() const { return m_footerContainer; }
    QPushButton *buttonOK() const { return m_buttonOK; }
    AbstractMenuController *menuController() const;

    void doLayout();
    void enableHotKeys() override;
    void onOK();
    void onEscKeyDown() override;
    void onBackspaceKeyDown() override;
    void closeUI() override;
    void quit();
    void openVizoMenu();
    void closeVizoMenu();

protected:
    void windowDidLoad() override;
    // Clears disableHotKeys, sets the key set, re-arms; the same for the
    // gestures; then the OK button and the window's own keys.
    void armForMode(int hotKeyMode, int gestureMode);
    // What this kind of window sends before it closes (menu closed).
    virtual void quitSends() = 0;

private:
    bool m_isVizoMenuOpen = false;
    QLabel *m_labelHeader = nullptr;
    QWidget *m_captureViewContainer = nullptr;
    QWidget *m_footerContainer = nullptr;
    QPushButton *m_buttonOK = nullptr;
    QPointer<AbstractMenuController> m_menuController;
};
