#pragma once
// An item whose row captures a key combination as text ("ctrl + k").
#include <trellis/TrellisItem.h>

class TrellisItemHotKey : public TrellisItem
{
    Q_OBJECT
    Q_PROPERTY(
        QString valueOfHotKey READ valueOfHotKey WRITE setValueOfHotKey NOTIFY valueOfHotKeyChanged)

public:
    TrellisItemHotKey();

    QString valueOfHotKey() const { return m_value; }
    void setValueOfHotKey(const QString &text);

    QVariant value() const override { return m_value; }

signals:
    void valueOfHotKeyChanged(const QString &text);

private:
    QString m_value;
};
