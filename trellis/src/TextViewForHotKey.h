#pragma once
// The field of hot key rows: it captures one key combination as text.
// Focused, it turns cyan; each key shows its text in blue; Return confirms
// (reported through eventValueChanged), Escape or leaving the field puts the
// previous text back.
#include "TextView.h"

class TextViewForHotKey : public TextView
{
    Q_OBJECT
    Q_PROPERTY(QString valueOfHotKey READ valueOfHotKey WRITE setValueOfHotKey)

public:
    explicit TextViewForHotKey(QWidget *parent = nullptr);

    QString valueOfHotKey() const { return m_valueOfHotKey; }
    void setValueOfHotKey(const QString &text);
    QString hotKey() const { return m_hotKey; }
    QString oldHotKey() const { return m_oldHotKey; }

    // The text a key press gives: "alt + x", "ctrl + x", "shift + x", an
    // arrow symbol or the character in lower case; empty when the key gives
    // no character.
    static QString hotKeyText(const QKeyEvent &event);

    // Typing never edits the text: keys are captured instead.
    void setDisabled(bool disabled) override;

    void onOK();
    void onCancel();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool event(QEvent *event) override;

private:
    void setColors(const QColor &background, const QColor &text);

    QString m_valueOfHotKey;
    QString m_hotKey;
    QString m_oldHotKey;
};
