#include "ColorSubPages.h"

#include "ColorStepping.h"
#include "PageSupport.h"

#include "kit/AppContext.h"
#include "kit/ArrowButton.h"
#include "kit/BorderedView.h"
#include "kit/ClickableTextField.h"
#include "kit/DesignLayout.h"
#include "settings/VizoColorSlot.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace {
constexpr int kArrow = 44;
constexpr int kSampleFontPx = 34;
constexpr int kLabelFontPx = 16;
constexpr int kNameHeight = 26;

ColorStepping::Pair pairOf(const VizoColorSlot *slot)
{
    return {slot->textColor(), slot->bgColor()};
}

void store(VizoColorSlot *slot, ColorStepping::Pair p)
{
    slot->setTextColor(p.text);
    slot->setBgColor(p.bg);
}

ArrowButton *makeArrow(QWidget *parent, const char *objectName, int type, const QString &name)
{
    auto *arrow = new ArrowButton(parent);
    arrow->setObjectName(QLatin1String(objectName));
    arrow->setType(type);
    arrow->setFocusPolicy(Qt::NoFocus);
    arrow->setAccessibleName(name);
    return arrow;
}

ClickableTextField *makeClickableLabel(QWidget *parent, const char *objectName, const QString &text)
{
    auto *label = new ClickableTextField(parent);
    label->setObjectName(QLatin1String(objectName));
    label->setText(text);
    label->setAccessibleName(text);
    label->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    return label;
}
} // namespace

ColorSubPageController::ColorSubPageController(bool backgroundPage, AppContext &app, QWidget *parent)
    : PageFrame(app, parent), m_backgroundPage(backgroundPage)
{
    contentView()->setAutoFillBackground(true);
    QPalette p = contentView()->palette();
    p.setColor(QPalette::Window, QColor(64, 64, 64));
    contentView()->setPalette(p);

    m_sampleContainer = new QWidget(contentView());
    m_backgroundView = new BorderedView(m_sampleContainer);
    m_backgroundView->setObjectName(QStringLiteral("backgroundView"));
    m_text = new QLabel(m_backgroundView);
    m_text->setObjectName(QStringLiteral("text"));
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setWordWrap(true);
    // Spoken at every step, and written too: not every user tells the
    // colours apart by sight.
    m_labelColorName = new QLabel(m_backgroundView);
    m_labelColorName->setObjectName(QStringLiteral("labelColorName"));
    m_labelColorName->setAlignment(Qt::AlignCenter);

    const QString disable =
        PageSupport::optionText(context(), "ColorMode.ColorChangePage.DisableLabel", QStringLiteral("Disable"));
    const QString reverse =
        PageSupport::optionText(context(), "ColorMode.ColorChangePage.ReverseLabel", QStringLiteral("Swap colors"));
    m_buttonUpArrow = makeArrow(m_backgroundView, "buttonUpArrow", 0, disable);
    m_buttonDownArrow = makeArrow(m_backgroundView, "buttonDownArrow", 1, reverse);
    m_buttonLeftArrow = makeArrow(
        m_backgroundView, "buttonLeftArrow", 2,
        PageSupport::optionText(context(), "ColorMode.ColorChangePage.PreviousColor", QStringLiteral("Previous color")));
    m_buttonRightArrow =
        makeArrow(m_backgroundView, "buttonRightArrow", 3,
                  PageSupport::optionText(context(), "ColorMode.ColorChangePage.NextColor", QStringLiteral("Next color")));
    m_labelDisable = makeClickableLabel(m_backgroundView, "labelDisable", disable);
    m_labelReverse = makeClickableLabel(m_backgroundView, "labelReverse", reverse);

    m_buttonDisable = addButton(QStringLiteral("buttonDisable"), disable, true);
    if (backgroundPage)
        m_buttonBack = addButton(QStringLiteral("buttonBack"),
                                 PageSupport::optionText(context(), "Page.Back", QStringLiteral("Back")));
    m_buttonOK = addButton(QStringLiteral("buttonOK"),
                           PageSupport::messageText(context(), "Alert.OK", QStringLiteral("OK")));
    m_buttonCancel = addButton(QStringLiteral("buttonCancel"),
                               PageSupport::optionText(context(), "Page.Cancel", QStringLiteral("Cancel")));

    connect(m_buttonLeftArrow, &QPushButton::clicked, this,
            &ColorSubPageController::onPrevColorButtonClicked);
    connect(m_buttonRightArrow, &QPushButton::clicked, this,
            &ColorSubPageController::onNextColorButtonClicked);
    connect(m_buttonDownArrow, &QPushButton::clicked, this,
            &ColorSubPageController::onReverseButtonClicked);
    connect(m_labelReverse, &ClickableTextField::clicked, this,
            &ColorSubPageController::onReverseButtonClicked);
    connect(m_buttonUpArrow, &QPushButton::clicked, this,
            &ColorSubPageController::onDisableButtonClicked);
    connect(m_labelDisable, &ClickableTextField::clicked, this,
            &ColorSubPageController::onDisableButtonClicked);
    connect(m_buttonDisable, &QPushButton::clicked, this,
            &ColorSubPageController::onDisableButtonClicked);
    connect(m_buttonOK, &QPushButton::clicked, this, &ColorSubPageController::onOK);
    connect(m_buttonCancel, &QPushButton::clicked, this, &ColorSubPageController::onCancel);
}

QString ColorSubPageController::colorName(const AppContext &context, int code)
{
    const char *key = VizoColorSlot::colorNameKey(code);
    if (!key)
        return {};
    // "ColorMode.RedColor" reads "Red" while the tables lack the key.
    QString fallback = QString::fromLatin1(key).section(QLatin1Char('.'), 1);
    fallback.chop(5);
    return PageSupport::optionText(context, key, fallback);
}

void ColorSubPageController::setDisableOffered(bool offered)
{
    m_buttonDisable->setVisible(offered);
    m_labelDisable->setVisible(offered);
    m_buttonUpArrow->setVisible(offered);
    doLayout();
}

void ColorSubPageController::applyVizoColor()
{
    if (!m_colorSlot)
        return;
    const int t = m_colorSlot->textColor();
    QString sample;
    if (t == VizoColorSlot::Disable)
        sample = PageSupport::optionText(context(), "ColorMode.DisableColor", QStringLiteral("Disable"));
    else if (t == VizoColorSlot::Natural)
        sample =
            m_backgroundPage
                ? PageSupport::optionText(context(), "ColorMode.BackgroundNaturalColor", QStringLiteral("Natural colors"))
                : PageSupport::optionText(context(), "ColorMode.LetterNaturalColor", QStringLiteral("Natural colors"));
    else if (t == VizoColorSlot::GrayScale)
        sample = m_backgroundPage
                     ? PageSupport::optionText(context(), "ColorMode.BackgroundGrayScale", QStringLiteral("Gray scale"))
                     : PageSupport::optionText(context(), "ColorMode.LetterGrayScale", QStringLiteral("Gray scale"));
    else
        sample = m_backgroundPage
                     ? PageSupport::optionText(context(), "ColorMode.BackgroundColor", QStringLiteral("Background color"))
                     : PageSupport::optionText(context(), "ColorMode.LetterColor", QStringLiteral("Text color"));

    const QColor ink = m_colorSlot->colorFromVizoTextColor().value_or(QColor(Qt::black));
    const QColor paper = m_colorSlot->colorFromVizoBackgroundColor().value_or(QColor(Qt::white));
    const QString inkStyle = QStringLiteral("color: %1;").arg(ink.name());
    m_text->setText(sample);
    m_text->setStyleSheet(inkStyle);
    m_labelColorName->setStyleSheet(inkStyle);
    m_labelDisable->setStyleSheet(inkStyle);
    m_labelReverse->setStyleSheet(inkStyle);
    m_backgroundView->setFillColor(paper);
    for (ArrowButton *arrow :
         {m_buttonUpArrow, m_buttonDownArrow, m_buttonLeftArrow, m_buttonRightArrow})
        arrow->setColor(ink);

    // Screen readers hear the colour itself, not only the sample's words.
    const int code = m_backgroundPage ? m_colorSlot->bgColor() : t;
    const QString format =
        m_backgroundPage
            ? PageSupport::messageText(context(), "TTS.BackgroundColor",
                                       QStringLiteral("Background color: %1"))
            : PageSupport::messageText(context(), "TTS.LetterColor", QStringLiteral("Text color: %1"));
    m_text->setAccessibleName(format.arg(colorName(context(), code)));
    m_labelColorName->setText(colorName(context(), code));
    if (QAccessible::isActive()) {
        QAccessibleEvent event(m_text, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    doLayout();
}

void ColorSubPageController::step(bool forward)
{
    if (!m_colorSlot)
        return;
    using namespace ColorStepping;
    const Pair p = pairOf(m_colorSlot);
    if (m_backgroundPage)
        store(m_colorSlot, forward ? nextBackground(p) : previousBackground(p));
    else
        store(m_colorSlot, forward ? nextLetter(p) : previousLetter(p));
    speakColor();
    applyVizoColor();
}

void ColorSubPageController::speakColor()
{
    context().speak(
        colorName(context(), m_backgroundPage ? m_colorSlot->bgColor() : m_colorSlot->textColor()));
}

void ColorSubPageController::onPrevColorButtonClicked()
{
    step(false);
}

void ColorSubPageController::onNextColorButtonClicked()
{
    step(true);
}

void ColorSubPageController::onReverseButtonClicked()
{
    if (!m_colorSlot)
        return;
    store(m_colorSlot, ColorStepping::reversed(pairOf(m_colorSlot)));
    applyVizoColor();
}

void ColorSubPageController::onDisableButtonClicked()
{
    if (eventDisable)
        eventDisable();
}

void ColorSubPageController::onOK()
{
    if (eventOK)
        eventOK();
}

void ColorSubPageController::onCancel()
{
    if (eventCancel)
        eventCancel();
}

void ColorSubPageController::layoutContent(const QSize &size, double s)
{
    m_sampleContainer->setGeometry(contentView()->rect());
    const int bw = std::max(200, std::min(size.width() - 40, 480));
    const int bh = std::max(150, std::min(size.height() - 24, 240));
    const QRect sample((size.width() - bw) / 2, (size.height() - bh) / 2, bw, bh);

    DesignLayout layout;
    layout.add(m_backgroundView, sample);
    const int cx = (bw - kArrow) / 2;
    const int cy = (bh - kArrow) / 2;
    layout.add(m_buttonUpArrow, QRect(cx, 8, kArrow, kArrow));
    layout.add(m_buttonDownArrow, QRect(cx, bh - kArrow - 8, kArrow, kArrow));
    layout.add(m_buttonLeftArrow, QRect(8, cy, kArrow, kArrow));
    layout.add(m_buttonRightArrow, QRect(bw - kArrow - 8, cy, kArrow, kArrow));
    const int labelX = cx + kArrow + 8;
    layout.add(m_labelDisable, QRect(labelX, 8, bw - labelX - 8, kArrow), kLabelFontPx);
    layout.add(m_labelReverse, QRect(labelX, bh - kArrow - 8, bw - labelX - 8, kArrow),
               kLabelFontPx);
    // The sample sits between the arrows, centred.
    const QRect middle(kArrow + 16, kArrow + 12, bw - 2 * (kArrow + 16), bh - 2 * (kArrow + 12));
    layout.add(m_text, middle.adjusted(0, 0, 0, -kNameHeight), kSampleFontPx);
    layout.add(m_labelColorName,
               QRect(middle.x(), middle.bottom() + 1 - kNameHeight, middle.width(), kNameHeight),
               kLabelFontPx + 2);
    layout.apply(s);
}

LetterColorSettingController::LetterColorSettingController(AppContext &app, QWidget *parent)
    : ColorSubPageController(false, app, parent)
{
    setObjectName(QStringLiteral("LetterColorSettingController"));
}

BackgroundColorSettingController::BackgroundColorSettingController(AppContext &app, QWidget *parent)
    : ColorSubPageController(true, app, parent)
{
    setObjectName(QStringLiteral("BackgroundColorSettingController"));
    connect(backButton(), &QPushButton::clicked, this, &BackgroundColorSettingController::onBack);
}

void BackgroundColorSettingController::onBack()
{
    if (eventBack)
        eventBack();
}
