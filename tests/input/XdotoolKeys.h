#pragma once
// Hot key records in xdotool's words, for tests that press them on a real
// X server.
#include <bramble/BrKeyMap.h>

#include <QStringList>
#include <QVariantMap>

// The record's combination, "ctrl+Up"; empty for a key code without a key.
inline QString xdotoolCombination(const QVariantMap &record)
{
    QStringList parts;
    if (record.value("CommandKey").toBool())
        parts << "ctrl";
    if (record.value("OptionKey").toBool())
        parts << "alt";
    if (record.value("ShiftKey").toBool())
        parts << "shift";
    if (record.value("ControlKey").toBool())
        parts << "super";
    const auto mapping = brKeyMappingForKeyCode(quint16(record.value("KeyCode").toUInt()));
    if (!mapping)
        return {};
    parts << QString::fromLatin1(mapping->name);
    return parts.join('+');
}
