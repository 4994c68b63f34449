// SPDX-License-Identifier: GPL-3.0-or-later
// Places a sound input's samples on the monotonic clock, for recordings whose sound must keep its
// place against their pictures however late the samples are read.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

namespace optigrab {

// Samples are counted on from the first one heard, so that a read held up by a busy machine moves
// nothing. Each read bounds when its samples can have been heard: the newest sample waiting then was
// heard at the latest at that moment. The first kSettleUs of sound are held back until those bounds
// have told when it began (an input that starts by handing over what it kept arrives in a burst).
// Where the input leaves a gap later (a stalled source, a server that skipped), the bounds stay later
// than the count, and once they have for kGapWindowUs the samples from then on are placed later by
// the gap, which the sink fills with silence; samples heard meanwhile stay placed early by it.
// One thread at a time: the sound thread.
class SoundTimeline {
public:
    // Receives samples with the time the first of them was heard.
    using Sink = std::function<void(const float* samples, int count, std::int64_t heardUs)>;

    static constexpr std::int64_t kSettleUs = 500000;
    static constexpr std::int64_t kGapWindowUs = 200000;

    explicit SoundTimeline(int rate) : rate_(rate) {}

    // A read at readUs of count samples, with waiting more samples already behind them in the
    // input's buffer: hands them to sink, or holds them while the start settles.
    void add(const float* samples, int count, std::int64_t waiting, std::int64_t readUs, const Sink& sink);
    // Hands over what is held (the input stops).
    void flush(const Sink& sink);

private:
    struct Read {
        std::int64_t readUs;
        std::int64_t slackUs;  // how much later than the count its bound lies
    };
    std::int64_t toUs(std::int64_t samples) const { return samples * 1000000 / rate_; }

    int rate_;
    std::int64_t anchorUs_ = -1;  // when sample 0 was heard
    std::int64_t firstReadUs_ = 0;
    std::int64_t samples_ = 0;  // placed so far
    std::vector<float> held_;   // the start, while it settles
    bool settled_ = false;
    std::deque<Read> recent_;  // the reads of the last kGapWindowUs, and one before
};

}  // namespace optigrab
