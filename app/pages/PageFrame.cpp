#include "PageFrame.h"

#include "kit/AppContext.h"

#include "PageSupport.h"

#include "kit/DesignLayout.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kButtonDesignWidth = 120;
constexpr int kButtonDesignHeight = 36;
constexpr int kButtonGap = 12;

void fill(QWidget *widget, const QColor &colour)
{
    widget->setAutoFillBackground(true);
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, colour);
    widget->setPalette(p);
}
} // namespace

PageFrame::PageFrame(AppContext &app, QWidget *parent) : QWidget(parent), m_context(app)
{
    fill(this, Qt::black);

    m_headerBackgroundView = new QWidget(this);
    m_headerBackgroundView->setObjectName(QStringLiteral("headerBackgroundView"));
    fill(m_headerBackgroundView, headerColor());
    m_labelHeader = new QLabel(m_headerBackgroundView);
    m_labelHeader->setObjectName(QStringLiteral("labelHeader"));
    m_labelHeader->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));
    m_labelHeader->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);

    m_contentView = new QWidget(this);
    m_contentView->setObjectName(QStringLiteral("contentView"));

    m_footerView = new QWidget(this);
    m_footerView->setObjectName(QStringLiteral("footerView"));
    fill(m_footerView, QColor(40, 40, 48));
}

void PageFrame::setTitle(const QString &title)
{
    m_labelHeader->setText(title);
    m_labelHeader->setAccessibleName(title);
    setAccessibleName(title);
}

QString PageFrame::title() const
{
    return m_labelHeader->text();
}

QPushButton *PageFrame::addButton(const QString &objectName, const QString &label, bool leading)
{
    auto *button = new QPushButton(label, m_footerView);
    button->setObjectName(objectName);
    button->setAccessibleName(label);
    // The page reads the keyboard itself: Return, Esc and the arrows must
    // never be taken by a focused button.
    button->setFocusPolicy(Qt::NoFocus);
    button->setStyleSheet(
        QStringLiteral("QPushButton { background: white; color: black; border: 3px solid #9fb4d8;"
                       " border-radius: 6px; padding: 0 8px; }"
                       "QPushButton:pressed { background: #c8d2e6; }"
                       "QPushButton:disabled { color: #777777; }"));
    m_buttons.append({button, leading});
    doLayout();
    return button;
}

void PageFrame::resizeEvent(QResizeEvent *)
{
    doLayout();
}

void PageFrame::doLayout()
{
    const double s = PageSupport::scale(context());
    const int headerHeight = int(std::lround(kHeaderDesignHeight * s));
    const int footerHeight = int(std::lround(kFooterDesignHeight * s));
    const int contentHeight = std::max(0, height() - headerHeight - footerHeight);
    m_headerBackgroundView->setGeometry(0, 0, width(), headerHeight);
    m_contentView->setGeometry(0, headerHeight, width(), contentHeight);
    m_footerView->setGeometry(0, headerHeight + contentHeight, width(), footerHeight);

    const int designWidth = int(width() / s);
    DesignLayout layout;
    layout.add(m_labelHeader, QRect(12, 0, std::max(0, designWidth - 24), kHeaderDesignHeight),
               kHeaderFontPx);
    const int top = (kFooterDesignHeight - kButtonDesignHeight) / 2;
    int left = kButtonGap;
    for (const FooterButton &b : m_buttons) {
        if (!b.leading || b.button->isHidden())
            continue;
        layout.add(b.button, QRect(left, top, kButtonDesignWidth, kButtonDesignHeight),
                   kButtonFontPx);
        left += kButtonDesignWidth + kButtonGap;
    }
    int right = designWidth - kButtonGap;
    for (auto it = m_buttons.crbegin(); it != m_buttons.crend(); ++it) {
        if (it->leading || it->button->isHidden())
            continue;
        right -= kButtonDesignWidth;
        layout.add(it->button, QRect(right, top, kButtonDesignWidth, kButtonDesignHeight),
                   kButtonFontPx);
        right -= kButtonGap;
    }
    layout.apply(s);
    layoutContent(QSize(int(width() / s), int(contentHeight / s)), s);
}

void PageFrame::layoutContent(const QSize &, double) {}
