#pragma once
// Places child widgets at their design rectangles times a scale factor, and
// scales their fonts: how windows here are "drawn scaled by the scale factor
// in both directions" while keeping text sharp.
#include <QList>
#include <QPointer>
#include <QRect>
#include <QWidget>

class DesignLayout
{
public:
    // `fontPixelSize` 0 leaves the font alone.
    void add(QWidget *widget, const QRect &designRect, int fontPixelSize = 0);
    void apply(double scale) const;

    static QRect scaled(const QRect &designRect, double scale);

private:
    struct Entry
    {
        QPointer<QWidget> widget;
        QRect designRect;
        int fontPixelSize;
    };
    QList<Entry> m_entries;
};
