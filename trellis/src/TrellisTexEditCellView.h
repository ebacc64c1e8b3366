#pragma once
// A row with an editable text field in the right part of its label strip.
#include "TrellisCellView.h"

class TextView;

class TrellisTexEditCellView : public TrellisCellView
{
    Q_OBJECT

public:
    explicit TrellisTexEditCellView(QWidget *parent);

    TextView *textView() const { return m_textView; }
    void setDisabled(bool disabled) override;
    QList<QWidget *> controls() const override;

protected:
    // Rows with a text field are built with the field they need.
    TrellisTexEditCellView(QWidget *parent, TextView *field);
    void layoutStrip(const QRect &strip) override;
    void scaleControls(float factor) override;

private:
    TextView *m_textView;
};
