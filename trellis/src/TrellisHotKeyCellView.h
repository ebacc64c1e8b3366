#pragma once
// A row with a hot key capture field in the right part of its label strip.
#include "TrellisTexEditCellView.h"

class TextViewForHotKey;

class TrellisHotKeyCellView : public TrellisTexEditCellView
{
    Q_OBJECT

public:
    explicit TrellisHotKeyCellView(QWidget *parent);

    TextViewForHotKey *hotKeyView() const;
};
