#pragma once
// A plain area filled with its fill colour and framed by a one-pixel black line.
#include <QColor>
#include <QWidget>

class BorderedView : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor fillColor READ fillColor WRITE setFillColor)

public:
    explicit BorderedView(QWidget *parent = nullptr);

    QColor fillColor() const { return m_fillColor; }
    void setFillColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_fillColor = Qt::white;
};
