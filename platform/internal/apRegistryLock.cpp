#include <platform/internal/apRegistryLock.h>

#include <atomic>

namespace {
// Long enough to outlast another writer on a busy machine.
std::atomic<int> g_wait_ms{5000};
} // namespace

int ap_registry_lock_wait() {
    return g_wait_ms.load(std::memory_order_relaxed);
}

int ap_set_registry_lock_wait(int milliseconds) {
    return g_wait_ms.exchange(milliseconds, std::memory_order_relaxed);
}
