#pragma once
// The frame every setting page and page step is drawn in: a header band with
// the title (white on dark blue), a content area, and a footer with large
// buttons. Sizes are design sizes times the scale factor, so the pages read
// from a distance on any screen. Subclasses lay out their content in
// layoutContent().
#include <QColor>
#include <QList>
#include <QWidget>

class AppContext;
class QLabel;
class QPushButton;

class PageFrame : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kHeaderDesignHeight = 36;
    static constexpr int kFooterDesignHeight = 48;
    static constexpr int kHeaderFontPx = 18;
    static constexpr int kButtonFontPx = 16;
    // The header band's colour.
    static QColor headerColor()
    {
        return QColor::fromRgbF(26 / 255.0, 64 / 255.0, 122 / 255.0, 1.0);
    }

    explicit PageFrame(AppContext &context, QWidget *parent = nullptr);

    AppContext &context() const { return m_context; }

    QLabel *labelHeader() const { return m_labelHeader; }
    QWidget *headerBackgroundView() const { return m_headerBackgroundView; }
    QWidget *contentView() const { return m_contentView; }
    QWidget *footerView() const { return m_footerView; }

    // The title, also the name screen readers give the step.
    void setTitle(const QString &title);
    QString title() const;

    // A footer button named for screen readers by its label. Leading buttons
    // sit at the left edge, the others at the right, in the order added.
    QPushButton *addButton(const QString &objectName, const QString &label, bool leading = false);

    void doLayout();

protected:
    void resizeEvent(QResizeEvent *event) override;
    // Lays out the content area, whose size is `designSize` design units.
    virtual void layoutContent(const QSize &designSize, double scale);

private:
    struct FooterButton
    {
        QPushButton *button;
        bool leading;
    };
    AppContext &m_context;
    QWidget *m_headerBackgroundView = nullptr;
    QLabel *m_labelHeader = nullptr;
    QWidget *m_contentView = nullptr;
    QWidget *m_footerView = nullptr;
    QList<FooterButton> m_buttons;
};
