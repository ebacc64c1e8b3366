#pragma once
// Per-frame latencies of one path, and their percentiles.
#include <QString>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include <sys/resource.h>
#include <time.h>

struct BenchStats
{
    QString path;
    QString format;
    std::vector<double> ms; // arrival to screen, per frame
    // Processor time of the whole process (every thread's own clock, user
    // and system) over the timed frames, per frame. The X server's share
    // is not in it, for any path.
    double cpuMs = NAN;
    // Page faults of the whole process over the timed frames, per frame:
    // memory touched for the first time (a fresh buffer) shows up here.
    double faults = NAN;
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

// The process's CPU clock: the sum of its threads' clocks, including
// threads that have ended.
inline double benchCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

inline long benchPageFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

// Brackets the timed frames of a run.
struct BenchCpuClock
{
    double startMs = NAN;
    long startFaults = 0;
    void start()
    {
        startMs = benchCpuMs();
        startFaults = benchPageFaults();
    }
    // Sets the stats' CPU time and faults per frame.
    void finish(BenchStats &stats, size_t frames) const
    {
        if (frames == 0)
            return;
        stats.cpuMs = (benchCpuMs() - startMs) / double(frames);
        stats.faults = double(benchPageFaults() - startFaults) / double(frames);
    }
};

inline double benchNowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}
