#include <nls/internal/nlsChangeGuard.h>

#include <nls/nlsDomainManager.h>

#include <mutex>

namespace {

std::recursive_mutex& changes() {
    // Made on first use, so that databases constructed by other static initialisers find it.
    static std::recursive_mutex mutex;
    return mutex;
}

thread_local int t_depth = 0;

} // namespace

nlsChangeGuard::nlsChangeGuard() {
    changes().lock();
    ++t_depth;
}

nlsChangeGuard::~nlsChangeGuard() {
    if (--t_depth == 0) nlsDomainManager::publish();
    changes().unlock();
}
