// SPDX-License-Identifier: GPL-3.0-or-later
// Places a sound input's samples on the monotonic clock: counted from the first, moved on by gaps.
#include "soundtimeline.h"

#include <algorithm>

namespace optigrab {

namespace {

// A gap shorter than this is left alone.
constexpr std::int64_t kGapUs = 20000;

}  // namespace

void SoundTimeline::add(const float* samples, int count, std::int64_t waiting, std::int64_t readUs,
                        const Sink& sink) {
    if (count <= 0)
        return;
    const std::int64_t boundUs = readUs - toUs(samples_ + count + waiting);
    if (anchorUs_ < 0) {
        anchorUs_ = boundUs;
        firstReadUs_ = readUs;
    }
    if (boundUs < anchorUs_) {
        // Earlier reads came late, this one less so: the count starts earlier than thought. Samples
        // already handed over stay where they are; the next ones follow them.
        for (Read& read : recent_)
            read.slackUs += anchorUs_ - boundUs;
        anchorUs_ = boundUs;
    }
    recent_.push_back({readUs, boundUs - anchorUs_});
    while (recent_.size() > 1 && readUs - recent_[1].readUs >= kGapWindowUs)
        recent_.pop_front();
    // A late read is followed by reads that catch up; bounds that all stayed late for the whole
    // window mean the samples stopped coming for that long.
    if (settled_ && readUs - recent_.front().readUs >= kGapWindowUs) {
        const std::int64_t gapUs =
            std::min_element(recent_.begin(), recent_.end(), [](const Read& a, const Read& b) {
                return a.slackUs < b.slackUs;
            })->slackUs;
        if (gapUs >= kGapUs) {
            anchorUs_ += gapUs;
            for (Read& read : recent_)
                read.slackUs -= gapUs;
        }
    }
    const std::int64_t placedUs = anchorUs_ + toUs(samples_);
    samples_ += count;
    if (settled_) {
        sink(samples, count, placedUs);
        return;
    }
    held_.insert(held_.end(), samples, samples + count);
    if (readUs - firstReadUs_ >= kSettleUs)
        flush(sink);
}

void SoundTimeline::flush(const Sink& sink) {
    settled_ = true;
    if (!held_.empty())
        sink(held_.data(), int(held_.size()), anchorUs_);
    held_.clear();
    held_.shrink_to_fit();
}

}  // namespace optigrab
