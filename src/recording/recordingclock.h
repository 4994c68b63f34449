// SPDX-License-Identifier: GPL-3.0-or-later
// The one clock that stamps recorded pictures and sound, so that they line up in the file.
#pragma once

#include <chrono>
#include <cstdint>

namespace RecordingClock {

// Microseconds of the monotonic clock; any thread.
inline int64_t nowUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace RecordingClock
