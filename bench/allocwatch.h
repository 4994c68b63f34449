// SPDX-License-Identifier: GPL-3.0-or-later
// Counts large heap allocations in the whole process while switched on: a frame-sized buffer
// allocated per frame shows here even when the allocator reuses pages and no page fault betrays it.
#pragma once

#include <cstddef>

constexpr std::size_t kLargeAllocation = 256 * 1024;  // below a compressed 1080p frame

void watchLargeAllocations(bool on);
long largeAllocations();  // counted while switched on, since the start of the process
