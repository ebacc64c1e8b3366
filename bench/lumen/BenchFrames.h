#pragma once
// The frames every path is fed: 1920x1080 pages of text, as YUYV bytes and
// as JPEG pictures, all made in memory before timing starts.
#include <QByteArray>
#include <QImage>
#include <QSize>

#include <vector>

struct BenchFrames
{
    QSize size;
    std::vector<QByteArray> yuyv;
    std::vector<QByteArray> mjpeg;

    static BenchFrames make(QSize size, int count);
};
