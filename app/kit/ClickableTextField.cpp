#include "ClickableTextField.h"

#include <QMouseEvent>

ClickableTextField::ClickableTextField(QWidget *parent)
    : QLabel(parent)
{
}

void ClickableTextField::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    emit clicked();
}
