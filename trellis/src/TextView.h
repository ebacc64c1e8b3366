#pragma once
// The text field of text edit rows.
#include <QLineEdit>
#include <functional>

class TextView : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextView(QWidget *parent = nullptr);

    bool disabled() const { return m_disabled; }
    virtual void setDisabled(bool disabled);

    std::function<void()> eventClicked;
    // The user confirmed a new text with Return.
    std::function<void(const QString &)> eventValueChanged;
    // The field is done with the keyboard (Return or Escape): hand it back.
    std::function<void()> eventEditingDone;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    bool m_disabled = false;
    QString m_textAtFocus;  // put back by Escape
};
