// trellis-demo: a window with a menu tree of every row kind, three levels
// deep, to try the menu by hand. Everything works from the keyboard:
// Up/Down move, Return or Space activate, Escape (or Backspace) closes a
// level, Left/Right step a slider being edited. A status line shows what
// the handlers report.
#include <trellis/TreeMenuTableView.h>
#include <trellis/TrellisController.h>
#include <trellis/TrellisItemCheckBox.h>
#include <trellis/TrellisItemHotKey.h>
#include <trellis/TrellisItemRadioGroup.h>
#include <trellis/TrellisItemSlider.h>
#include <trellis/TrellisItemTextEdit.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>
#include <QWidget>

namespace {

template <typename T> std::shared_ptr<T> make(const QString &label)
{
    auto item = std::make_shared<T>();
    item->setLabelText(label);
    return item;
}

// A slider that steps with Left/Right while it is being edited, restoring
// its value on Escape, as an application would wire it.
std::shared_ptr<TrellisItemSlider> makeSlider(const QString &label, int value, int min, int max)
{
    auto slider = make<TrellisItemSlider>(label);
    slider->setMinValue(min);
    slider->setMaxValue(max);
    slider->setValueOfSlider(value);
    slider->setEnableRollback(true);
    slider->eventBeginEdit = [](TrellisItem *item) {
        item->setValueForRollback(static_cast<TrellisItemSlider *>(item)->valueOfSlider());
    };
    slider->eventCancelEdit = [](TrellisItem *item, const QVariant &old) {
        if (old.isValid())
            static_cast<TrellisItemSlider *>(item)->setValueOfSlider(old.toInt());
    };
    return slider;
}

class DemoWindow : public QWidget
{
public:
    DemoWindow()
    {
        setWindowTitle(QStringLiteral("Trellis demo"));
        auto *layout = new QVBoxLayout(this);
        m_menuHost = new QWidget(this);
        m_menuHost->setMinimumSize(520, 900);
        layout->addWidget(m_menuHost, 1);
        m_status = new QLabel(QStringLiteral("Up/Down move, Return opens, Escape closes"), this);
        m_status->setAccessibleName(QStringLiteral("Status"));
        layout->addWidget(m_status);

        m_root = new TrellisController(m_menuHost);
        m_root->setScale(1.4f);
        m_root->setCloseOnBackspaceKey(true);
        m_root->setBackgroundColor(QColor(75, 93, 138));
        m_root->setCellBackgroundColor(QColor(184, 181, 196));
        m_root->setCellDisabledColor(QColor(184, 181, 196));
        m_root->setCellHilightColor(QColor(67, 75, 140));
        m_root->setCellHilightTextColor(Qt::white);
        m_root->setCellDisabledTextColor(Qt::darkGray);
        m_root->setCellBorderColor(QColor(75, 107, 153));
        m_root->setCellTextColor(Qt::black);
        m_root->setSliderBackgroundColorInNormalMode(QColor(120, 120, 120));
        m_root->setSliderBorderColorInNormalMode(QColor(220, 220, 220));
        m_root->setSliderBackgroundColorInEditMode(Qt::white);
        m_root->setSliderBorderColorInEditMode(QColor(65, 65, 65));
        m_root->eventClosed = [this] { report(QStringLiteral("menu closed (Return reopens)")); };
        m_root->setMenu(buildTree());
        m_root->setGeometry(m_menuHost->rect());
        m_root->updateLayout();
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QWidget::resizeEvent(event);
        m_root->setGeometry(m_menuHost->rect());
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        // Keys the menu leaves alone: Left/Right step the slider being
        // edited; Return after the root closed puts the keyboard back.
        if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
            stepSlider(event->key() == Qt::Key_Right ? 1 : -1);
            return;
        }
        if (TreeMenuTableView *table = m_root->firstResponder())
            table->setFocus();
        QWidget::keyPressEvent(event);
    }

private:
    void report(const QString &text) { m_status->setText(text); }

    void stepSlider(int delta)
    {
        auto *slider = qobject_cast<TrellisItemSlider *>(m_root->selectedMenuItem());
        if (!slider || slider->editState() != 1)
            return;
        const int value =
            qBound(slider->minValue(), slider->valueOfSlider() + delta, slider->maxValue());
        if (value == slider->valueOfSlider())
            return;
        slider->setValueOfSlider(value);
        if (slider->eventValueChanged)
            slider->eventValueChanged(slider, value);
    }

    void watch(const TrellisItemPtr &item)
    {
        item->eventValueChanged = [this](TrellisItem *it, const QVariant &value) {
            report(QStringLiteral("%1 → %2").arg(it->labelText(), value.toString()));
        };
        if (!item->eventItemClicked)
            item->eventItemClicked = [this](TrellisItem *it) {
                report(QStringLiteral("activated %1").arg(it->labelText()));
            };
        if (item->subMenu())
            for (const TrellisItemPtr &sub : std::as_const(*item->subMenu()))
                watch(sub);
    }

    TrellisItemPtr exitItem()
    {
        auto exit = make<TrellisItem>(QStringLiteral("Back"));
        exit->setClickOnExit(true);
        return exit;
    }

    TrellisMenuPtr buildTree()
    {
        // Display > Colours > (radio group), Display > Contrast (slider) ...
        auto natural = make<TrellisItemRadioGroup>(QStringLiteral("Natural colours"));
        auto blackWhite = make<TrellisItemRadioGroup>(QStringLiteral("Black on white"));
        auto whiteBlack = make<TrellisItemRadioGroup>(QStringLiteral("White on black"));
        auto yellowBlue = make<TrellisItemRadioGroup>(QStringLiteral("Yellow on blue"));
        auto colours = make<TrellisItem>(QStringLiteral("Colour mode"));
        colours->setSubMenu(trellisMenu({natural, blackWhite, whiteBlack, yellowBlue, exitItem()}));
        natural->exclusiveSelect();

        auto focusLock = make<TrellisItemCheckBox>(QStringLiteral("Focus lock"));
        auto lineMarker = make<TrellisItemCheckBox>(QStringLiteral("Reading line"));
        lineMarker->setValueOfCheckBox(true);
        auto contrast = makeSlider(QStringLiteral("Contrast"), 12, 0, 39);
        auto brightness = makeSlider(QStringLiteral("Brightness"), 5, 0, 10);
        auto display = make<TrellisItem>(QStringLiteral("Display"));
        display->setSubMenu(
            trellisMenu({colours, contrast, brightness, focusLock, lineMarker, exitItem()}));

        auto zoomIn = make<TrellisItemHotKey>(QStringLiteral("Zoom in key"));
        zoomIn->setValueOfHotKey(QStringLiteral("ctrl + ="));
        auto zoomOut = make<TrellisItemHotKey>(QStringLiteral("Zoom out key"));
        zoomOut->setValueOfHotKey(QStringLiteral("ctrl + -"));
        auto keys = make<TrellisItem>(QStringLiteral("Hot keys"));
        keys->setSubMenu(trellisMenu({zoomIn, zoomOut, exitItem()}));

        auto name = make<TrellisItemTextEdit>(QStringLiteral("Device name"));
        name->setValueOfTextEdit(QStringLiteral("Vizo"));

        auto voice = make<TrellisItemCheckBox>(QStringLiteral("Voice guide"));
        voice->setValueOfCheckBox(true);
        auto speed = makeSlider(QStringLiteral("Scroll speed"), 3, 1, 9);
        auto english = make<TrellisItemRadioGroup>(QStringLiteral("English"));
        auto french = make<TrellisItemRadioGroup>(QStringLiteral("Français"));
        auto language = make<TrellisItem>(QStringLiteral("Language"));
        language->setSubMenu(trellisMenu({english, french, exitItem()}));
        english->exclusiveSelect();
        auto empty = make<TrellisItem>(QStringLiteral("Empty folder"));
        empty->setSubMenu(trellisMenu());
        auto wifi = make<TrellisItem>(QStringLiteral("Wi-Fi (not available)"));
        wifi->setDisabled(true);
        auto settings = make<TrellisItem>(QStringLiteral("Settings"));
        settings->setSubMenu(
            trellisMenu({display, keys, name, voice, speed, language, exitItem()}));

        auto about = make<TrellisItem>(QStringLiteral("About"));
        auto quit = make<TrellisItem>(QStringLiteral("Quit"));
        quit->eventItemClicked = [](TrellisItem *) { QApplication::quit(); };

        TrellisMenuPtr root = trellisMenu({settings, empty, wifi, about, quit});
        for (const TrellisItemPtr &item : std::as_const(*root))
            watch(item);
        // The menu reports an edited text; storing it is the application's.
        name->eventValueChanged = [this](TrellisItem *it, const QVariant &value) {
            static_cast<TrellisItemTextEdit *>(it)->setValueOfTextEdit(value.toString());
            report(QStringLiteral("%1 → %2").arg(it->labelText(), value.toString()));
        };
        return root;
    }

    QWidget *m_menuHost;
    QLabel *m_status;
    QPointer<TrellisController> m_root;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    DemoWindow window;
    window.resize(560, 960);
    window.show();
    return app.exec();
}
