#pragma once
// The menu column at the left of the main window (and inside each capture
// window, for a menu of its own): a header with up to three buttons and a
// tab view with the Options, OCR and Files trees.
//
// The trees are rebuilt every time the menu opens, so they always match the
// current edition, mode and camera view. While the menu is open, Left and
// Right (and Tab) switch tabs, or step the slider of an open sub-menu; the
// application arms these keys when it re-arms its hot keys. Main thread
// only.
#include "kit/AbstractMenuController.h"

#include <array>
#include <memory>

class AppContext;
class BrHotKey;
class FilesMenu;
class OCRMenu;
class OptionsMenu;
class QStackedWidget;
class SegmentedController;
class TrellisController;

class VizoMenuController : public AbstractMenuController
{
    Q_OBJECT

public:
    static constexpr int kDesignWidth = 260;
    static constexpr int kTabGap = 10;

    explicit VizoMenuController(AppContext &context, QWidget *parent = nullptr);

    AppContext &context() const { return m_context; }
    ~VizoMenuController() override;

    // ---- what the application asks
    void buildVizoMenu() override;
    void reloadSettings() override;
    void reloadMenuLabel() override;
    void showMenu() override;
    void setDefaultTab() override;
    void hideMenu() override;
    bool isOpened() const override;
    void closeUI() override;
    bool isMenuExpanded() const override;
    bool isMenuExpandedWithIndex(int index) const override;
    TrellisItem *selectedMenuItem(int index) const override;
    void setEnableHotKeys(bool enable) override;
    bool enableHotKeys() const override;
    void becomeFirstResponder() override;
    void updateMenuColor() override;
    void updateBatteryInfo() override;
    void updateUIState() override;
    void setTtsVolumeValue(int value) override;

    // ---- parts
    void makeVizoMenu();
    SegmentedController *segmentedController() const { return m_segmentedController; }
    QStackedWidget *settingsTabView() const { return m_settingsTabView; }
    TrellisController *optionsMenuController() const { return m_roots[0]; }
    TrellisController *ocrMenuController() const { return m_roots[1]; }
    TrellisController *filesMenuController() const { return m_roots[2]; }
    OptionsMenu *optionsMenu() const { return m_options; }
    OCRMenu *ocrMenu() const { return m_ocr; }
    FilesMenu *filesMenu() const { return m_files; }

    // The root that shows tab `index`, or nullptr: the OCR root whatever the
    // index while OCR runs; Ridge has no Files tab.
    TrellisController *rootForTab(int index) const;
    // The tab in front (0 when the header has a single button).
    int tabInFront() const;

    // What the arrow keys do: +1 Right (and Tab), -1 Left.
    void onArrowKey(int direction);

protected:
    void resizeEvent(QResizeEvent *event) override;
    // Tab belongs to the menu (it switches tabs), not to focus chains.
    bool focusNextPrevChild(bool next) override;

private:
    AppContext &m_context;
    void layoutParts();
    void selectTab(int index);
    void onHeaderClicked(int tab);
    std::unique_ptr<BrHotKey> makeHotKey(quint16 keyCode, int direction);

    QWidget *m_backgroundView = nullptr;
    SegmentedController *m_segmentedController = nullptr;
    QStackedWidget *m_settingsTabView = nullptr;
    std::array<QWidget *, 3> m_tabItems{};
    std::array<TrellisController *, 3> m_roots{};
    OptionsMenu *m_options = nullptr;
    OCRMenu *m_ocr = nullptr;
    FilesMenu *m_files = nullptr;
    std::unique_ptr<BrHotKey> m_hotKeyLeftArrow;
    std::unique_ptr<BrHotKey> m_hotKeyRightArrow;
    std::unique_ptr<BrHotKey> m_hotKeyTab;
};
