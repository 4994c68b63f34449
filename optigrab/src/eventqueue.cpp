// The event thread and its queue.
#include "eventqueue.h"

namespace optigrab {

EventQueue::EventQueue(Handler handler) : handler_(std::move(handler)) {}

EventQueue::~EventQueue() { stop(); }

void EventQueue::start() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (running_) return;
    running_ = true;
    queue_.clear();
    thread_ = std::thread(&EventQueue::run, this);
}

void EventQueue::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        running_ = false;
        queue_.clear();
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
    threadId_.store(std::thread::id());
}

void EventQueue::nodeEvent(NodeEvent event, const std::string& path) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!running_) return;
        queue_.emplace_back(event, path);
    }
    wake_.notify_one();
}

// Runs on the event thread.
void EventQueue::run() {
    threadId_.store(std::this_thread::get_id());
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return !running_ || !queue_.empty(); });
        if (!running_) return;
        auto event = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        handler_(event.first, event.second);
        lock.lock();
    }
}

}  // namespace optigrab
