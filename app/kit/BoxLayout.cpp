#include "BoxLayout.h"

#include "BorderedView.h"
#include "MessageBoxController.h"

#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QWidget>

#include <cmath>

namespace BoxLayout {

QRect centredBox(const QSize &visible, const QSize &designSize, double scale)
{
    const int w = int(std::lround(designSize.width() * scale));
    const int h = int(std::lround(designSize.height() * scale));
    return QRect((visible.width() - w) / 2, (visible.height() - h) / 2, w, h);
}

void prepareWindow(QWidget *window)
{
    window->setWindowFlag(Qt::FramelessWindowHint, true);
    window->setAttribute(Qt::WA_TranslucentBackground, true);
    window->setAutoFillBackground(false);
}

void paintBackdrop(QWidget *window)
{
    QPainter painter(window);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(window->rect(), QColor(0, 0, 0, 110));
}

BorderedView *makeContentView(QWidget *window)
{
    auto *content = new BorderedView(window);
    content->setObjectName(QStringLiteral("contentView"));
    content->setFillColor(Qt::white);
    return content;
}

QLabel *makeMessageLabel(QWidget *content)
{
    auto *label = new QLabel(content);
    label->setObjectName(QStringLiteral("labelMessage"));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral("color: black;"));
    return label;
}

QPushButton *makeButton(QWidget *content, const QString &objectName)
{
    auto *button = new QPushButton(content);
    button->setObjectName(objectName);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QWidget *makeFocusView(QWidget *parent)
{
    auto *view = new QWidget(parent);
    view->setAutoFillBackground(true);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Window, MessageBoxController::focusColor());
    view->setPalette(palette);
    return view;
}

void setAlpha(QWidget *widget, double alpha)
{
    if (alpha >= 1.0) {
        widget->setGraphicsEffect(nullptr);
        return;
    }
    auto *effect = qobject_cast<QGraphicsOpacityEffect *>(widget->graphicsEffect());
    if (!effect) {
        effect = new QGraphicsOpacityEffect(widget);
        widget->setGraphicsEffect(effect);
    }
    effect->setOpacity(alpha);
}

} // namespace BoxLayout
