#pragma once
// A text label that acts like a button: a mouse press emits clicked().
#include <QLabel>

class ClickableTextField : public QLabel
{
    Q_OBJECT

public:
    explicit ClickableTextField(QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
};
