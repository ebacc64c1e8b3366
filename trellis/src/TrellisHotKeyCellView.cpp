#include "TrellisHotKeyCellView.h"

#include "TextViewForHotKey.h"

TrellisHotKeyCellView::TrellisHotKeyCellView(QWidget *parent)
    : TrellisTexEditCellView(parent, new TextViewForHotKey)
{
}

TextViewForHotKey *TrellisHotKeyCellView::hotKeyView() const
{
    return static_cast<TextViewForHotKey *>(textView());
}
