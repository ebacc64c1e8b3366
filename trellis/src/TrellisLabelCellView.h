#pragma once
// A plain row: a label only.
#include "TrellisCellView.h"

class TrellisLabelCellView : public TrellisCellView
{
    Q_OBJECT

public:
    explicit TrellisLabelCellView(QWidget *parent) : TrellisCellView(parent) {}
};
