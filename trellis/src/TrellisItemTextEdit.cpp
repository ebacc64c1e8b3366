#include <trellis/TrellisItemTextEdit.h>

TrellisItemTextEdit::TrellisItemTextEdit() : TrellisItem(TrellisItemTypeTextEdit) {}

void TrellisItemTextEdit::setValueOfTextEdit(const QString &text)
{
    if (m_value == text)
        return;
    m_value = text;
    emit valueOfTextEditChanged(text);
    emit valueChanged();
}
