// The library's event thread: hot-plug events from any platform thread (and from capture threads that
// saw their camera vanish) are queued and handled one at a time, in arrival order, on this thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

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

private:
    void run();

    Handler handler_;
    std::thread thread_;                         // started and joined under the owner's lock
    std::atomic<std::thread::id> threadId_{};  // the event thread's id, for onEventThread
    std::mutex mutex_;  // guards queue_ and running_
    std::condition_variable wake_;
    std::deque<std::pair<NodeEvent, std::string>> queue_;
    bool running_ = false;
};

}  // namespace optigrab
