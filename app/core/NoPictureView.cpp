#include "NoPictureView.h"

#include <QLabel>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>

NoPictureView::NoPictureView(const QString &reason, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("noPictureView"));
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QStringLiteral("#noPictureView { background: black; }"));
    setAccessibleName(QStringLiteral("Camera picture"));
    m_label = new QLabel(noticeText(reason), this);
    m_label->setObjectName(QStringLiteral("labelNoPicture"));
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setStyleSheet(QStringLiteral("color: #ffff66; background: transparent;"));
    // Clicks and the wheel belong to the area, not to the text.
    m_label->setAttribute(Qt::WA_TransparentForMouseEvents, true);
}

QString NoPictureView::noticeText(const QString &reason)
{
    QString text = QStringLiteral("No camera picture.");
    if (!reason.isEmpty())
        text += QLatin1Char(' ') + reason;
    text += QStringLiteral(
        "\nThe hot keys, the wheel and the mouse gestures still control the camera.");
    return text;
}

QString NoPictureView::text() const
{
    return m_label->text();
}

void NoPictureView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    QFont font = m_label->font();
    font.setPixelSize(std::clamp(height() / 20, 14, 48));
    m_label->setFont(font);
    // The visible part of the area: the container may show only its right
    // part while the menu is open, so keep the text in the middle third.
    m_label->setGeometry(rect().adjusted(width() / 6, 0, -width() / 6, 0));
}

void NoPictureView::report(Event kind, const QInputEvent &event)
{
    if (eventMouse)
        eventMouse(kind, this, event);
}

void NoPictureView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        report(Event::MouseDown, *event);
    else if (event->button() == Qt::RightButton)
        report(Event::RightMouseDown, *event);
    else
        QWidget::mousePressEvent(event);
}

void NoPictureView::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        report(Event::MouseDragged, *event);
    else if (event->buttons() & Qt::RightButton)
        report(Event::RightMouseDragged, *event);
}

void NoPictureView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        report(Event::MouseUp, *event);
    else if (event->button() == Qt::RightButton)
        report(Event::RightMouseUp, *event);
    else
        QWidget::mouseReleaseEvent(event);
}

void NoPictureView::wheelEvent(QWheelEvent *event)
{
    report(Event::ScrollWheel, *event);
}
