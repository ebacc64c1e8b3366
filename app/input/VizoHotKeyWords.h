#pragma once
// What each hot key action does, in words, and the group it belongs to, for
// the help overlay, --list-hotkeys and the README's key table. The names
// are the hot key file's keys (VizoInputNames).
#include <QList>
#include <QString>
#include <QStringList>

namespace VizoHotKeyWords {

struct Entry
{
    QString group;       // "Camera", "OCR mode" ...
    QString description; // "zoom in"
};

// The action's group and description; an unknown name gets group "Other"
// and its own name as the description.
Entry entry(const QString &action);

// The groups in the order they are shown.
const QStringList &groups();

// One line for a key: "Ctrl+Up: zoom in".
QString line(const QString &keys, const QString &action);

struct Group
{
    QString name;
    QStringList lines;
};
// `actions` with their key words, grouped in the groups' order; actions in
// a group keep the order given.
QList<Group> grouped(const QList<QPair<QString, QString>> &actionsAndKeys);

} // namespace VizoHotKeyWords
