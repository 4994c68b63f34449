// SPDX-License-Identifier: GPL-3.0-or-later
// The library's event thread: hot-plug events from any platform thread (and from capture threads that
// saw their camera vanish) are queued and handled one at a time, in arrival order, on this thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "platform.h"

namespace optigrab {

class EventQueue : public HotplugSink {
public:
    using Handler = std::function<void(NodeEvent event, const std::string& path)>;

    explicit EventQueue(Handler handler);
    ~EventQueue() override;

    void start();
    // When it returns the handler is not running and will not run again; queued events are dropped.
    void stop();
    bool onEventThread() const { return std::this_thread::get_id() == threadId_.load(); }

    // Any thread; never blocks on the handler.
    void nodeEvent(NodeEvent event, const std::string& path) override;
    // Any thread but the event thread (which answers false at once): the events queued before the
    // call have been handled, or dropped by stop, when it returns true.
    bool waitUntilHandled(std::chrono::steady_clock::time_point deadline) override;

private:
    void run();

    Handler handler_;
    std::thread thread_;                       // started and joined under the owner's lock
    std::atomic<std::thread::id> threadId_{};  // the event thread's id, for onEventThread
    std::mutex mutex_;                         // guards queue_, running_, queuedCount_ and handledCount_
    std::condition_variable wake_;             // an event was queued, or stop was asked
    std::condition_variable handled_;          // handledCount_ grew
    struct Queued {
        NodeEvent event;
        std::string path;
        std::uint64_t number;  // 1 for the first event ever queued, and so on
    };
    std::deque<Queued> queue_;
    bool running_ = false;
    std::uint64_t queuedCount_ = 0;   // events ever queued
    std::uint64_t handledCount_ = 0;  // every event up to this number was handled or dropped
};

}  // namespace optigrab
