// SPDX-License-Identifier: GPL-3.0-or-later
// Free memory handed back to the system on a timer.
#include "memorytrim.h"

#include <QtConcurrent/QtConcurrentRun>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// Handing back 375 MB freed on six threads took 115 ms here, each thread's pool under its lock in
// turn: done often, so that little is waiting each time, and off the GUI thread, so no paint waits.
constexpr int kIntervalMs = 15 * 1000;

// A 1280 x 720 picture of 32-bit pixels and anything larger: camera frames, captures, recordings.
constexpr int kPictureBytes = 1280 * 720 * 4;

}  // namespace

MemoryTrim::MemoryTrim(QObject* parent) : QObject(parent) {
#if defined(__GLIBC__)
    // Pictures get mappings of their own, handed back to the system when freed. Left to itself, the C
    // library raises this threshold to the size of the first such block freed and then serves later
    // ones from the pool of the thread asking, where the free space at a pool's end stays with the
    // program (malloc_trim hands back only the main pool's end): over a school day one pool after
    // another kept up to 60 MB so.
    mallopt(M_MMAP_THRESHOLD, kPictureBytes);
#endif
    connect(&m_timer, &QTimer::timeout, this, [] { QtConcurrent::run(&MemoryTrim::trimNow); });
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
