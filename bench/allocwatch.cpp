// SPDX-License-Identifier: GPL-3.0-or-later
// Counts large heap allocations: the benchmark's executable defines the C allocation functions, so
// every library of the process (Qt, libOptigrab.so, TurboJPEG, libyuv) calls these, and each passes
// the call on to the C library's own allocator unchanged.
#include "allocwatch.h"

#include <atomic>
#include <cerrno>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* old, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
}

namespace {

std::atomic<bool> g_watching{false};
std::atomic<long> g_large{0};

inline void note(std::size_t size) {
    if (size >= kLargeAllocation && g_watching.load(std::memory_order_relaxed))
        g_large.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

void watchLargeAllocations(bool on) {
    g_watching.store(on);
}

long largeAllocations() {
    return g_large.load();
}

extern "C" {

void* malloc(std::size_t size) {
    note(size);
    return __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size) {
    note(count * size);
    return __libc_calloc(count, size);
}

void* realloc(void* old, std::size_t size) {
    note(size);
    return __libc_realloc(old, size);
}

void* memalign(std::size_t alignment, std::size_t size) {
    note(size);
    return __libc_memalign(alignment, size);
}

void* aligned_alloc(std::size_t alignment, std::size_t size) {
    note(size);
    return __libc_memalign(alignment, size);
}

int posix_memalign(void** result, std::size_t alignment, std::size_t size) {
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    note(size);
    void* memory = __libc_memalign(alignment, size);
    if (memory == nullptr)
        return ENOMEM;
    *result = memory;
    return 0;
}

}  // extern "C"
