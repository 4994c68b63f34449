// SPDX-License-Identifier: GPL-3.0-or-later
// Free memory handed back to the system on a timer.
#include "memorytrim.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// Long enough that the walk through the pools (milliseconds, under their locks) is never felt.
constexpr int kIntervalMs = 60 * 1000;

}  // namespace

MemoryTrim::MemoryTrim(QObject* parent) : QObject(parent) {
    connect(&m_timer, &QTimer::timeout, this, [] { trimNow(); });
    m_timer.start(kIntervalMs);
}

bool MemoryTrim::trimNow() {
#if defined(__GLIBC__)
    malloc_trim(0);
    return true;
#else
    return false;
#endif
}
