#pragma once
// The two steps of the colour page: the letter page steps the text colour,
// the background page the background colour. Both show the slot being edited
// as a sample (its text in its text colour on its background colour), with
// arrow buttons around it: left and right step the colour, down swaps the two
// colours, up disables the slot. They edit the settings' slot directly; the
// window that hosts them decides what OK, Cancel, Disable and Back mean.
#include "PageFrame.h"

#include <functional>

class AppContext;
class ArrowButton;
class BorderedView;
class ClickableTextField;
class QLabel;
class QPushButton;
class VizoColorSlot;

class ColorSubPageController : public PageFrame
{
    Q_OBJECT

public:
    using Handler = std::function<void()>;

    VizoColorSlot *colorSlot() const { return m_colorSlot; }
    void setColorSlot(VizoColorSlot *slot) { m_colorSlot = slot; }
    bool isBackgroundPage() const { return m_backgroundPage; }

    QLabel *text() const { return m_text; }
    // The name of the colour being edited, under the sample.
    QLabel *labelColorName() const { return m_labelColorName; }
    BorderedView *backgroundView() const { return m_backgroundView; }
    ClickableTextField *labelDisable() const { return m_labelDisable; }
    ClickableTextField *labelReverse() const { return m_labelReverse; }
    QPushButton *buttonDisable() const { return m_buttonDisable; }
    QPushButton *buttonOK() const { return m_buttonOK; }
    QPushButton *buttonCancel() const { return m_buttonCancel; }
    ArrowButton *buttonUpArrow() const { return m_buttonUpArrow; }
    ArrowButton *buttonDownArrow() const { return m_buttonDownArrow; }
    ArrowButton *buttonLeftArrow() const { return m_buttonLeftArrow; }
    ArrowButton *buttonRightArrow() const { return m_buttonRightArrow; }

    Handler eventCancel;
    Handler eventDisable;
    Handler eventOK;

    // Shows the slot's colours: sample text, its colours, the arrows' tint.
    void applyVizoColor();

    void onPrevColorButtonClicked();
    void onNextColorButtonClicked();
    void onReverseButtonClicked();
    void onDisableButtonClicked();
    void onOK();
    void onCancel();

    // Hides the ways to disable the slot (slot 1, or an edition without it).
    void setDisableOffered(bool offered);

    // The localised name of a colour code.
    static QString colorName(const AppContext &context, int code);

protected:
    ColorSubPageController(bool backgroundPage, AppContext &context, QWidget *parent);
    void layoutContent(const QSize &designSize, double scale) override;
    // The Back button; only the background page has one.
    QPushButton *backButton() const { return m_buttonBack; }

private:
    void step(bool forward);
    void speakColor();

    const bool m_backgroundPage;
    VizoColorSlot *m_colorSlot = nullptr;
    QWidget *m_sampleContainer = nullptr;
    BorderedView *m_backgroundView = nullptr;
    QLabel *m_text = nullptr;
    QLabel *m_labelColorName = nullptr;
    ClickableTextField *m_labelDisable = nullptr;
    ClickableTextField *m_labelReverse = nullptr;
    ArrowButton *m_buttonUpArrow = nullptr;
    ArrowButton *m_buttonDownArrow = nullptr;
    ArrowButton *m_buttonLeftArrow = nullptr;
    ArrowButton *m_buttonRightArrow = nullptr;
    QPushButton *m_buttonDisable = nullptr;
    QPushButton *m_buttonOK = nullptr;
    QPushButton *m_buttonCancel = nullptr;
    QPushButton *m_buttonBack = nullptr;
};

class LetterColorSettingController : public ColorSubPageController
{
    Q_OBJECT
public:
    explicit LetterColorSettingController(AppContext &context, QWidget *parent = nullptr);
};

class BackgroundColorSettingController : public ColorSubPageController
{
    Q_OBJECT
public:
    explicit BackgroundColorSettingController(AppContext &context, QWidget *parent = nullptr);

    QPushButton *buttonBack() const { return backButton(); }
    Handler eventBack;
    void onBack();
};
