#include "TextView.h"

#include <QKeyEvent>
#include <QPointer>

TextView::TextView(QWidget *parent) : QLineEdit(parent)
{
    setFocusPolicy(Qt::ClickFocus);
    setFrame(false);
    // A light field whatever the menu's background is.
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Text, Qt::black);
    setPalette(p);
}

void TextView::setDisabled(bool disabled)
{
    m_disabled = disabled;
    setReadOnly(disabled);
    update();
}

void TextView::mousePressEvent(QMouseEvent *event)
{
    QLineEdit::mousePressEvent(event);
    if (m_disabled)
        return;
    if (eventClicked)
        eventClicked();
    QPointer<TextView> self(this);
    QMetaObject::invokeMethod(
        this,
        [self] {
            if (self)
                self->setFocus(Qt::MouseFocusReason);
        },
        Qt::QueuedConnection);
}

void TextView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!m_disabled && eventValueChanged)
            eventValueChanged(text());
        if (eventEditingDone)
            eventEditingDone();
        return;
    case Qt::Key_Escape:
        setText(m_textAtFocus);
        if (eventEditingDone)
            eventEditingDone();
        return;
    default:
        break;
    }
    if (m_disabled) {
        event->ignore();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TextView::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    m_textAtFocus = text();
}

void TextView::wheelEvent(QWheelEvent *event)
{
    event->ignore();
}
