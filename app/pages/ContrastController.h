#pragma once
// Adjusts the contrast of the current camera view while the user watches the
// picture: every change goes to the device at once (SetContrast), OK keeps
// it, Cancel sends the opening value back once. Left and Right step it by one
// (a held key keeps stepping); the slider takes the mouse.
#include "CameraPageController.h"

class QLabel;
class QPushButton;
class QSlider;

class ContrastController : public CameraPageController
{
    Q_OBJECT

public:
    static constexpr int kMaxContrast = 39;

    explicit ContrastController(AppContext &context, QWidget *parent = nullptr);

    QSlider *slider() const { return m_slider; }
    QWidget *sliderContainer() const { return m_sliderContainer; }
    QPushButton *buttonOK() const;
    QPushButton *buttonClose() const;
    int sliderValue() const { return m_sliderValue; }
    int initialSliderValue() const { return m_initialSliderValue; }

    void onOK() override;
    void onCancel() override;
    void onSliderValueChanged(int value);

protected:
    void windowDidLoad() override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    QString title() const override;

private:
    // The view whose contrast is adjusted: 0 distance, 1 near.
    int view() const;
    void store(int value);
    void sendContrast(int value);
    void showValue();

    QWidget *m_sliderContainer = nullptr;
    QSlider *m_slider = nullptr;
    QLabel *m_valueLabel = nullptr;
    int m_sliderValue = 0;
    int m_initialSliderValue = 0;
};
