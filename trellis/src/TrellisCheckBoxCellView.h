#pragma once
// A row with a round on/off box at its right end (check boxes and radio items).
#include "TrellisCellView.h"

class CheckBoxView;

class TrellisCheckBoxCellView : public TrellisCellView
{
    Q_OBJECT

public:
    explicit TrellisCheckBoxCellView(QWidget *parent);

    CheckBoxView *checkBox() const { return m_checkBox; }
    QWidget *buttonContainer() const { return m_buttonContainer; }

    // The box's action: toggle against the state at mouse down, then report.
    void onCheckBoxValueChanged();

    QList<QWidget *> controls() const override;

protected:
    void layoutStrip(const QRect &strip) override;
    void scaleControls(float factor) override;

private:
    QWidget *m_buttonContainer;
    CheckBoxView *m_checkBox;
    int m_boxSide = 20;
};
