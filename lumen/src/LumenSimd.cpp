#include "LumenSimd.h"

#include <atomic>

namespace LumenSimd {
namespace {
std::atomic<bool> g_limited{false};

bool hasAvx2()
{
#if defined(__x86_64__) || defined(__i386__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
#else
    return false;
#endif
}
} // namespace

bool useAvx2()
{
    return hasAvx2() && !g_limited.load(std::memory_order_relaxed);
}

void limitToSse2(bool limit)
{
    g_limited.store(limit, std::memory_order_relaxed);
}

} // namespace LumenSimd
