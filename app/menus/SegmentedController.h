#pragma once
// The header above the menu trees: up to three buttons, Option, OCR and
// Files, that switch tabs. How many are shown depends on the edition and
// the mode; the selected one is drawn with the normal colours swapped.
// The buttons take no keyboard focus: the keyboard stays in the trees.
#include <QColor>
#include <QWidget>

#include <functional>

class AppContext;
class QPushButton;

class SegmentedController : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kDesignHeight = 36;

    explicit SegmentedController(AppContext &context, QWidget *parent = nullptr);

    int numOfButton() const { return m_numOfButton; }
    // Shows the buttons the count and the mode call for.
    void setNumOfButton(int count);
    int selectedIndex() const { return m_selectedIndex; }
    void setSelectedIndex(int index);

    void setLabelOption(const QString &text);
    void setLabelOCR(const QString &text);
    void setLabelSave(const QString &text);

    QPushButton *viewOption() const { return m_viewOption; }
    QPushButton *viewOCR() const { return m_viewOCR; }
    QPushButton *viewSave() const { return m_viewSave; }

    void updateColors();
    // Places the shown buttons side by side; fonts follow the scale.
    void updateLayout(double scale);

    void onClickedOption();
    void onClickedOCR();
    void onClickedSave();

    std::function<void()> eventClickedOption;
    std::function<void()> eventClickedOCR;
    std::function<void()> eventClickedSave;

    const QColor backgroundColor{188, 195, 215};
    const QColor buttonBackground{211, 201, 196};
    const QColor buttonHilightedBackground{67, 75, 140};
    const QColor textColor{67, 75, 140};
    const QColor textHilightedColor{211, 201, 196};

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    bool ocrModeNow() const;

    AppContext &m_context;
    QPushButton *makeButton(const char *name);
    // The button that index 0 stands for: OCR while OCR runs (it is then
    // the only one), Option otherwise.
    QPushButton *buttonForIndex(int index) const;

    QPushButton *m_viewOption = nullptr;
    QPushButton *m_viewOCR = nullptr;
    QPushButton *m_viewSave = nullptr;
    int m_numOfButton = 3;
    int m_selectedIndex = 0;
    double m_scale = 1.0;
};
