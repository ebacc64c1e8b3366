#pragma once
// The start-up splash, shown modally until the device's settings have
// arrived. No behaviour beyond the base class.
#include "ModalWindowController.h"

class SplashController : public ModalWindowController
{
    Q_OBJECT

public:
    static constexpr int kDesignWidth = 360;
    static constexpr int kDesignHeight = 200;

    explicit SplashController(QWidget *parent = nullptr);

protected:
    void windowDidLoad() override;
    void paintEvent(QPaintEvent *event) override;
};
