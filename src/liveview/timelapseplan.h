// SPDX-License-Identifier: GPL-3.0-or-later
// What a time-lapse is asked to do: how often a picture is taken, for how long, what is kept.
#pragma once

struct TimeLapsePlan {
    static constexpr int kMinIntervalS = 1;
    static constexpr int kMaxIntervalS = 60 * 60;

    int intervalS = 10;
    int durationS = 0;  // 0: until stopped
    bool keepPictures = true;
};
