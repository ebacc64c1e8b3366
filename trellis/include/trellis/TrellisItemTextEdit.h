#pragma once
// An item whose row holds an editable line of text.
#include <trellis/TrellisItem.h>

class TrellisItemTextEdit : public TrellisItem
{
    Q_OBJECT
    Q_PROPERTY(QString valueOfTextEdit READ valueOfTextEdit WRITE setValueOfTextEdit NOTIFY
                   valueOfTextEditChanged)

public:
    TrellisItemTextEdit();

    // The row shows this text; the controller reports an edited text through
    // eventValueChanged and leaves storing it to the application.
    QString valueOfTextEdit() const { return m_value; }
    void setValueOfTextEdit(const QString &text);

    QVariant value() const override { return m_value; }

signals:
    void valueOfTextEditChanged(const QString &text);

private:
    QString m_value;
};
