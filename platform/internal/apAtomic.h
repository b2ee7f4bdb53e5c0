#pragma once

// Atomic access to plain words (pointers, flags, characters) that the library's lookups read
// while a change may write them in another thread. The words keep their plain types, so the
// classes that hold them keep their layout; both compilers the library is built with (GCC and
// Clang, also as mingw-w64) provide these builtins.

/// Reads `word` with acquire ordering: what was written before the matching store is visible.
template <class T> T ap_load_acquire(const T& word) {
    return __atomic_load_n(&word, __ATOMIC_ACQUIRE);
}

/// Writes `word` with release ordering, publishing everything written before it.
template <class T> void ap_store_release(T& word, T value) {
    __atomic_store_n(&word, value, __ATOMIC_RELEASE);
}

/// Sets `word` to `value` if it still holds `expected`, with acquire-release ordering; returns
/// what it held (`expected` when it was set).
template <class T> T ap_compare_exchange(T& word, T expected, T value) {
    __atomic_compare_exchange_n(&word, &expected, value, false, __ATOMIC_ACQ_REL, __ATOMIC_ACQUIRE);
    return expected;
}
