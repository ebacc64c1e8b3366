#include "VizoMenuController.h"

#include "FilesMenu.h"
#include "MenuAppearance.h"
#include "OCRMenu.h"
#include "OptionsMenu.h"
#include "SegmentedController.h"

#include "kit/AppContext.h"
#include "settings/VizoSettings.h"

#include <bramble/BrHotKey.h>
#include <trellis/TreeMenuTableView.h>
#include <trellis/TrellisController.h>
#include <trellis/TrellisItemSlider.h>

#include <QKeyEvent>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

// Virtual key codes of the hot key files.
constexpr quint16 kKeyLeftArrow = 123;
constexpr quint16 kKeyRightArrow = 124;
constexpr quint16 kKeyTab = 48;

double currentScale(const AppContext &context)
{
    const double scale = context.scaleFactor();
    return scale > 0 ? scale : 1.0;
}

bool isOCRMode(const VizoSettings *s)
{
    return s && (s->vizoMode() == 1 || s->vizoMode() == 3);
}

int lastTab(const AppContext &context)
{
    const VizoSettings *s = context.settings();
    return s && s->vizoVersion() == VizoSettings::Ridge ? 1 : 2;
}

} // namespace

VizoMenuController::VizoMenuController(AppContext &context, QWidget *parent)
    : AbstractMenuController(parent), m_context(context), m_options(new OptionsMenu(this)), m_ocr(new OCRMenu(this)),
      m_files(new FilesMenu(this))
{
    setObjectName(QStringLiteral("VizoMenuController"));
    setAccessibleName(QStringLiteral("Menu"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, MenuAppearance::kBackground);
    setPalette(p);
    resize(int(std::lround(kDesignWidth * currentScale(m_context))), height());

    m_backgroundView = new QWidget(this);
    m_backgroundView->setObjectName(QStringLiteral("backgroundView"));
    m_segmentedController = new SegmentedController(m_context, m_backgroundView);
    m_settingsTabView = new QStackedWidget(this);
    m_settingsTabView->setObjectName(QStringLiteral("settingsTabView"));
    for (std::size_t t = 0; t < m_tabItems.size(); ++t) {
        m_tabItems[t] = new QWidget(m_settingsTabView);
        // The root of the tab fills it.
        auto *fill = new QVBoxLayout(m_tabItems[t]);
        fill->setContentsMargins(0, 0, 0, 0);
        m_settingsTabView->addWidget(m_tabItems[t]);
    }

    m_segmentedController->eventClickedOption = [this] { onHeaderClicked(0); };
    m_segmentedController->eventClickedOCR = [this] { onHeaderClicked(1); };
    m_segmentedController->eventClickedSave = [this] { onHeaderClicked(2); };

    m_hotKeyLeftArrow = makeHotKey(kKeyLeftArrow, -1);
    m_hotKeyRightArrow = makeHotKey(kKeyRightArrow, +1);
    // Tab runs what Right does.
    m_hotKeyTab = makeHotKey(kKeyTab, +1);
    layoutParts();
}

VizoMenuController::~VizoMenuController()
{
    m_options->stopBatteryTimer();
}

std::unique_ptr<BrHotKey> VizoMenuController::makeHotKey(quint16 keyCode, int direction)
{
    auto key = std::make_unique<BrHotKey>();
    key->setKeyCode(keyCode);
    QPointer<VizoMenuController> self(this);
    key->setEventKeyDown([self, direction](bool) {
        if (self)
            self->onArrowKey(direction);
    });
    return key;
}

void VizoMenuController::layoutParts()
{
    const double scale = currentScale(m_context);
    const int headerHeight = int(std::lround(SegmentedController::kDesignHeight * scale));
    m_backgroundView->setGeometry(0, 0, width(), headerHeight);
    m_segmentedController->setGeometry(m_backgroundView->rect());
    m_segmentedController->updateLayout(scale);
    const int top = headerHeight + int(std::lround(kTabGap * scale));
    m_settingsTabView->setGeometry(0, top, width(), std::max(0, height() - top));
    for (QWidget *tab : m_tabItems)
        tab->setGeometry(m_settingsTabView->rect());
}

void VizoMenuController::resizeEvent(QResizeEvent *event)
{
    AbstractMenuController::resizeEvent(event);
    layoutParts();
}

bool VizoMenuController::focusNextPrevChild(bool)
{
    return true;
}

// ---- building

void VizoMenuController::makeVizoMenu()
{
    m_options->makeMenu();
    m_ocr->makeMenu();
    m_files->makeMenu();
}

void VizoMenuController::buildVizoMenu()
{
    m_options->stopBatteryTimer();
    for (TrellisController *&root : m_roots) {
        delete root;
        root = nullptr;
    }
    // Make sure the stack shows a page with a laid-out size.
    layoutParts();
    const float scale = float(currentScale(m_context));
    for (std::size_t t = 0; t < m_roots.size(); ++t) {
        auto *root = new TrellisController(m_tabItems[t]);
        m_tabItems[t]->layout()->addWidget(root);
        MenuAppearance::apply(*root, scale);
        root->eventClosed = [app = &m_context] { app->closeMenu(); };
        m_roots[t] = root;
    }

    m_segmentedController->setSelectedIndex(0);
    makeVizoMenu();

    const VizoSettings *s = m_context.settings();
    if (s) {
        switch (s->vizoVersion()) {
        case VizoSettings::Summit:
            m_segmentedController->setNumOfButton(isOCRMode(s) ? 1 : 3);
            break;
        case VizoSettings::Valley:
            m_segmentedController->setNumOfButton(0);
            break;
        case VizoSettings::Ridge:
            m_segmentedController->setNumOfButton(isOCRMode(s) ? 1 : 2);
            break;
        default:
            break;
        }
    }

    const std::array<VizoMenuTree *, 3> trees{m_options, m_ocr, m_files};
    for (std::size_t t = 0; t < m_roots.size(); ++t) {
        TrellisController *root = m_roots[t];
        root->setMenu(trees[t]->buildMenuTree());
        root->setGeometry(m_tabItems[t]->rect());
        root->show();
        root->updateLayout();
    }
    reloadSettings();
    reloadMenuLabel();
}

void VizoMenuController::reloadSettings()
{
    m_options->reloadSettings();
    m_ocr->reloadSettings();
    m_files->reloadSettings();
}

void VizoMenuController::reloadMenuLabel()
{
    m_options->reloadMenuLabel();
    m_ocr->reloadMenuLabel();
    m_files->reloadMenuLabel();
    const std::array<QString, 3> names{m_options->menuName(QStringLiteral("Option")),
                                       m_options->menuName(QStringLiteral("OCR")),
                                       m_options->menuName(QStringLiteral("Files"))};
    m_segmentedController->setLabelOption(names[0]);
    m_segmentedController->setLabelOCR(names[1]);
    m_segmentedController->setLabelSave(names[2]);
    // Screen readers name each tab's list after its header button.
    for (std::size_t t = 0; t < m_tabItems.size(); ++t) {
        m_tabItems[t]->setAccessibleName(names[t]);
        if (m_roots[t] && m_roots[t]->tableView())
            m_roots[t]->tableView()->setAccessibleName(names[t]);
    }
}

// ---- opening and closing

void VizoMenuController::showMenu()
{
    show();
    raise();
    QPointer<VizoMenuController> self(this);
    QMetaObject::invokeMethod(
        this,
        [self] {
            if (!self)
                return;
            self->updateMenuColor();
            for (TrellisController *root : self->m_roots) {
                if (root)
                    root->reload();
            }
        },
        Qt::QueuedConnection);
}

void VizoMenuController::hideMenu()
{
    m_options->stopBatteryTimer();
    hide();
}

bool VizoMenuController::isOpened() const
{
    return !isHidden();
}

void VizoMenuController::setDefaultTab()
{
    m_segmentedController->setSelectedIndex(0);
    m_settingsTabView->setCurrentIndex(isOCRMode(m_context.settings()) ? 1 : 0);
    becomeFirstResponder();
}

int VizoMenuController::tabInFront() const
{
    return m_segmentedController->numOfButton() == 1 ? 0 : m_segmentedController->selectedIndex();
}

TrellisController *VizoMenuController::rootForTab(int index) const
{
    const VizoSettings *s = m_context.settings();
    if (isOCRMode(s))
        return m_roots[1];
    if (index < 0 || index > lastTab(m_context))
        return nullptr;
    return m_roots[std::size_t(index)];
}

void VizoMenuController::becomeFirstResponder()
{
    TrellisController *root = rootForTab(tabInFront());
    if (!root)
        return;
    QWidget *target = root->firstResponder();
    if (!target)
        target = root->tableView();
    if (target)
        target->setFocus(Qt::OtherFocusReason);
}

void VizoMenuController::closeUI()
{
    const int front = tabInFront();
    if (isMenuExpandedWithIndex(front)) {
        // Escape to the innermost level: it cancels an edit in progress.
        if (TreeMenuTableView *table = rootForTab(front)->firstResponder()) {
            table->setFocus(Qt::OtherFocusReason);
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            table->keyDown(&escape);
        }
    }
    if (AppContext *app = &m_context)
        app->closeMenu();
}

bool VizoMenuController::isMenuExpandedWithIndex(int index) const
{
    const TrellisController *root = rootForTab(index);
    if (!root || !root->menu())
        return false;
    for (const TrellisItemPtr &entry : std::as_const(*root->menu())) {
        if (entry->expanded())
            return true;
    }
    return false;
}

bool VizoMenuController::isMenuExpanded() const
{
    return isMenuExpandedWithIndex(tabInFront());
}

TrellisItem *VizoMenuController::selectedMenuItem(int index) const
{
    const TrellisController *root = rootForTab(index);
    return root ? root->selectedMenuItem() : nullptr;
}

// ---- keys

void VizoMenuController::setEnableHotKeys(bool enable)
{
    m_hotKeyLeftArrow->setEnabled(enable);
    m_hotKeyRightArrow->setEnabled(enable);
    m_hotKeyTab->setEnabled(enable);
}

bool VizoMenuController::enableHotKeys() const
{
    // The hot key service disarms every key at each recomputation: ask the
    // keys, not a copy of the last request.
    return m_hotKeyLeftArrow->enabled() && m_hotKeyRightArrow->enabled() && m_hotKeyTab->enabled();
}

void VizoMenuController::onArrowKey(int direction)
{
    if (!isOpened())
        return;
    const int front = tabInFront();
    if (isMenuExpandedWithIndex(front)) {
        // An open sub-menu: the keys step its slider, if one is current.
        auto *slider = qobject_cast<TrellisItemSlider *>(selectedMenuItem(front));
        if (!slider)
            return;
        const int value =
            std::clamp(slider->valueOfSlider() + direction, slider->minValue(), slider->maxValue());
        if (value == slider->valueOfSlider())
            return;
        slider->setValueOfSlider(value);
        if (slider->eventValueChanged)
            slider->eventValueChanged(slider, value);
        return;
    }
    if (m_segmentedController->numOfButton() <= 1)
        return;
    const int last = lastTab(m_context);
    int next = m_segmentedController->selectedIndex() + direction;
    if (next < 0)
        next = last;
    else if (next > last)
        next = 0;
    selectTab(next);
}

void VizoMenuController::selectTab(int index)
{
    if (TrellisItem *current = selectedMenuItem(index)) {
        if (current->eventItemSelected)
            current->eventItemSelected(current);
    }
    m_segmentedController->setSelectedIndex(index);
    m_settingsTabView->setCurrentIndex(index);
    becomeFirstResponder();
}

void VizoMenuController::onHeaderClicked(int tab)
{
    // The header has already marked its button.
    if (TrellisItem *current = selectedMenuItem(tab)) {
        if (current->eventItemSelected)
            current->eventItemSelected(current);
    }
    m_settingsTabView->setCurrentIndex(tab);
    becomeFirstResponder();
}

// ---- refreshing

void VizoMenuController::updateMenuColor()
{
    const VizoSettings *s = m_context.settings();
    if (!s)
        return;
    const MenuAppearance::Highlight highlight = MenuAppearance::highlightFor(*s);
    for (TrellisController *root : m_roots) {
        if (!root)
            continue;
        root->setCellHilightTextColor(highlight.text);
        root->setCellHilightColor(highlight.background);
    }
}

void VizoMenuController::updateBatteryInfo()
{
    m_options->updateBatteryInfo();
}

void VizoMenuController::updateUIState()
{
    layoutParts();
    for (TrellisController *root : m_roots) {
        if (root)
            root->updateUIState();
    }
}

void VizoMenuController::setTtsVolumeValue(int value)
{
    m_ocr->setTtsVolumeValue(value);
}
