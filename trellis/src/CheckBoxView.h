#pragma once
// The round on/off control of check box and radio rows. It never takes the
// keyboard focus: the menu's table keeps it.
#include "CheckBoxCell.h"

#include <QAbstractButton>
#include <functional>

class CheckBoxView : public QAbstractButton
{
    Q_OBJECT

public:
    explicit CheckBoxView(QWidget *parent = nullptr);

    CheckBoxCell &cell() { return m_cell; }

    // The state when the mouse last went down: a click always toggles
    // against it, so two quick clicks end where they started.
    bool oldState = false;
    std::function<void()> eventClicked;
    std::function<void(bool)> eventValueChanged;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    CheckBoxCell m_cell;
};
