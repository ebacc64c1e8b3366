#pragma once
// The frames every path is fed: 1920x1080 pages of text, as YUYV bytes and
// as JPEG pictures (4:2:2, as USB cameras send them; with a restart marker
// after every row of blocks, and without any), all made in memory before
// timing starts.
#include <QByteArray>
#include <QImage>
#include <QSize>

#include <vector>

struct BenchFrames
{
    QSize size;
    std::vector<QByteArray> yuyv;
    std::vector<QByteArray> mjpeg;        // no restart markers
    std::vector<QByteArray> mjpegRestart; // a restart marker every MCU row

    static BenchFrames make(QSize size, int count);
};
