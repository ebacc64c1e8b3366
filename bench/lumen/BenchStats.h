#pragma once
// Per-frame latencies of one path, and their percentiles.
#include <QString>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

struct BenchStats
{
    QString path;
    QString format;
    std::vector<double> ms; // arrival to screen, per frame
    int timeouts = 0;
    QString note;

    double percentile(double p) const
    {
        if (ms.empty())
            return NAN;
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        const size_t rank = size_t(std::ceil(p * double(sorted.size())));
        return sorted[std::clamp<size_t>(rank, 1, sorted.size()) - 1];
    }
    double p50() const { return percentile(0.50); }
    double p95() const { return percentile(0.95); }
};

inline double benchNowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}
