#pragma once
// A button that draws only a filled triangle pointing in one of four
// directions: 0 up, 1 down, 2 left, 3 right. Other types draw nothing.
#include <QColor>
#include <QPolygonF>
#include <QPushButton>

class ArrowButton : public QPushButton
{
    Q_OBJECT
    Q_PROPERTY(QColor color READ color WRITE setColor)
    Q_PROPERTY(int type READ type WRITE setType)

public:
    explicit ArrowButton(QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    int type() const { return m_type; }
    void setType(int type);

    // The triangle drawn for `bounds`: the bounds inset by 2 on each side,
    // moved by 1 in x and y while highlighted. Empty for an unknown type.
    static QPolygonF arrowTriangle(const QRectF &bounds, int type, bool highlighted);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color = Qt::black;
    int m_type = 0;
};
