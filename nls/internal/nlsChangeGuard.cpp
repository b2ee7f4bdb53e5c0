#include <nls/internal/nlsChangeGuard.h>

#include <nls/internal/nlsRegistry.h>

#include <atomic>
#include <mutex>

namespace {

std::recursive_mutex& changes() {
    // Made on first use, so that databases constructed by other static initialisers find it.
    static std::recursive_mutex mutex;
    return mutex;
}

thread_local int t_depth = 0;
std::atomic<unsigned long> g_acquisitions{0};

} // namespace

nlsChangeGuard::nlsChangeGuard() {
    changes().lock();
    ++t_depth;
    g_acquisitions.fetch_add(1, std::memory_order_relaxed);
}

nlsChangeGuard::~nlsChangeGuard() {
    if (--t_depth == 0) nlsRegistry::publish();
    changes().unlock();
}

unsigned long nlsChangeGuard::acquisitions() {
    return g_acquisitions.load(std::memory_order_relaxed);
}
