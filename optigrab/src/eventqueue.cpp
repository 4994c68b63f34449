// SPDX-License-Identifier: GPL-3.0-or-later
// The event thread and its queue.
#include "eventqueue.h"

#include <algorithm>

namespace optigrab {

EventQueue::EventQueue(Handler handler) : handler_(std::move(handler)) {}

EventQueue::~EventQueue() {
    stop();
}

void EventQueue::start() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (running_)
        return;
    running_ = true;
    queue_.clear();
    thread_ = std::thread(&EventQueue::run, this);
}

void EventQueue::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        running_ = false;
        queue_.clear();
        handledCount_ = queuedCount_;  // dropped: nobody waits for them any more
    }
    wake_.notify_all();
    handled_.notify_all();
    if (thread_.joinable())
        thread_.join();
    threadId_.store(std::thread::id());
}

void EventQueue::nodeEvent(NodeEvent event, const std::string& path) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!running_)
            return;
        queue_.push_back({event, path, ++queuedCount_});
    }
    wake_.notify_one();
}

bool EventQueue::waitUntilHandled(std::chrono::steady_clock::time_point deadline) {
    if (onEventThread())
        return false;
    std::unique_lock<std::mutex> lock(mutex_);
    const std::uint64_t target = queuedCount_;
    return handled_.wait_until(lock, deadline, [&] { return handledCount_ >= target; });
}

// Runs on the event thread.
void EventQueue::run() {
    threadId_.store(std::this_thread::get_id());
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return !running_ || !queue_.empty(); });
        if (!running_)
            return;
        Queued queued = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        handler_(queued.event, queued.path);
        lock.lock();
        // Never back: stop may have counted this one as dropped meanwhile.
        handledCount_ = std::max(handledCount_, queued.number);
        handled_.notify_all();
    }
}

}  // namespace optigrab
