#pragma once
// The eight colour slots of one camera view. The array is made once, holds
// exactly eight slots and is never replaced; slot 0 always holds natural
// colours.
#include "settings/VizoColorSlot.h"

#include <QList>
#include <QObject>
#include <QVariantMap>

#include <array>
#include <memory>

class VizoSettings;

class VizoColorMode : public QObject
{
    Q_OBJECT
public:
    static constexpr int kSlotCount = 8;

    explicit VizoColorMode(const VizoSettings *settings = nullptr, QObject *parent = nullptr);
    ~VizoColorMode() override;

    // Slot `index` (0 to 7); out-of-range indexes give null.
    VizoColorSlot *slot(int index) const;
    VizoColorSlot *operator[](int index) const { return slot(index); }
    int count() const { return kSlotCount; }
    // The eight slots in index order.
    QList<VizoColorSlot *> arrayColorSlot() const;

    // The language strings of the owning settings (empty when detached), for
    // the slot labels.
    QVariantMap languageStrings() const;

    // Called by the slots when one of them changes.
    void notifyChanged() { emit changed(); }

signals:
    void changed();

private:
    const VizoSettings *m_settings;
    std::array<std::unique_ptr<VizoColorSlot>, kSlotCount> m_arrayColorSlot;
};
