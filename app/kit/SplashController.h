#pragma once
// The start-up splash, shown modally until the device's settings have
// arrived. While no camera is attached it says so in large words, read by
// screen readers, and offers a Quit button; it turns to "Connecting" the
// moment the camera appears.
#include "ModalWindowController.h"

#include <functional>

class QLabel;
class QPushButton;

class AppContext;

class SplashController : public ModalWindowController
{
    Q_OBJECT

public:
    static constexpr int kDesignWidth = 360;
    static constexpr int kDesignHeight = 240;

    explicit SplashController(AppContext &context, QWidget *parent = nullptr);

    // Waiting for the camera (with what is awaited, e.g. a port path, as a
    // second line), or connecting to it.
    void setWaiting(bool waiting, const QString &detail = {});
    bool isWaiting() const { return m_waiting; }
    QString noteText() const;

    // The Quit button's action.
    std::function<void()> eventQuit;

    static QString waitingText();
    static QString connectingText();

protected:
    void windowDidLoad() override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutParts();

    QLabel *m_note = nullptr;
    QLabel *m_detail = nullptr;
    QPushButton *m_quit = nullptr;
    bool m_waiting = false;
};
