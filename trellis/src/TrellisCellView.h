#pragma once
// Base of every menu row. The row paints its label strip (the top
// defaultHeight pixels): background, highlight and a one-pixel frame. Below
// the strip a nested menu level may be shown; the row leaves that area
// unpainted and ignores clicks there.
#include <trellis/TrellisItem.h>

#include <QColor>
#include <QPointer>
#include <QWidget>
#include <functional>

class QLabel;
class TrellisController;

class TrellisCellView : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool hilighted READ hilighted WRITE setHilighted)
    Q_PROPERTY(bool disabled READ disabled WRITE setDisabled)

public:
    // The row prototype for an identifier ("TreeMenuLabelCellView" ...);
    // null for an unknown identifier.
    static TrellisCellView *create(const QString &identifier, QWidget *parent);

    ~TrellisCellView() override;

    QLabel *label() const { return m_label; }

    bool scaled = false;
    float scale = 1.0f;

    bool hilighted() const { return m_hilighted; }
    virtual void setHilighted(bool hilighted);
    bool disabled() const { return m_disabled; }
    virtual void setDisabled(bool disabled);

    int defaultHeight() const { return m_defaultHeight; }
    void setDefaultHeight(int height);

    QColor backgroundColor{Qt::white};
    QColor disabledColor{Qt::lightGray};
    QColor disabledTextColor{Qt::gray};
    QColor textColor{Qt::black};
    QColor hilightColor{255, 165, 0};
    QColor hilightTextColor; // none: the text keeps textColor
    QColor borderColor{Qt::gray};
    int borderWidth = 1;

    // Re-applies the colours to the label after they were changed.
    void applyColors();

    // Scales fonts and control sizes by `scale`, once per row.
    void scaleParts();

    std::shared_ptr<TrellisItem> menuItem;
    // The nested level shown under the label strip while the item is
    // expanded; owned by this row.
    QPointer<TrellisController> subMenuController;
    void setSubMenuController(TrellisController *controller);
    void dropSubMenuController();

    // A click in the label strip.
    std::function<void()> eventClicked;

    // The widgets that follow the row's enabled state (not a nested level).
    virtual QList<QWidget *> controls() const;

protected:
    explicit TrellisCellView(QWidget *parent);

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

    // Places the label and the kind's control inside the label strip.
    virtual void layoutStrip(const QRect &strip);
    virtual void scaleControls(float factor);
    QColor currentTextColor() const;

private:
    QLabel *m_label;
    bool m_hilighted = false;
    bool m_disabled = false;
    int m_defaultHeight = 55;
};
