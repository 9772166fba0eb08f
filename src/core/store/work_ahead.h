#pragma once

#include <QtGlobal>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <variant>

namespace kelvano {

/// Does the work of items 0..count-1 in order on a thread of its own, at most `ahead` results ahead
/// of the one who takes them, so that each result is ready by the time the taker has finished with
/// the one before (a page run reads the next tables' files while it writes a page).
template <typename Result> class WorkAhead {
public:
    WorkAhead(int count, std::function<Result(int)> work, int ahead)
        : m_work(std::move(work)), m_count(count), m_ahead(ahead), m_thread([this] { run(); }) {}

    /// Waits for the item under way, if any; results not taken are dropped.
    ~WorkAhead() {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }
    WorkAhead(const WorkAhead&) = delete;
    WorkAhead& operator=(const WorkAhead&) = delete;

    /// The result of the next item, waiting for it; what its work threw is thrown here. At most
    /// `count` times.
    Result take() {
        std::unique_lock lock(m_mutex);
        Q_ASSERT(m_taken < m_count);
        m_changed.wait(lock, [this] { return !m_done.empty(); });
        std::variant<Result, std::exception_ptr> next = std::move(m_done.front());
        m_done.pop_front();
        ++m_taken;
        lock.unlock();
        m_changed.notify_all();
        if (auto* failure = std::get_if<std::exception_ptr>(&next)) {
            std::rethrow_exception(*failure);
        }
        return std::move(std::get<Result>(next));
    }

private:
    void run() {
        for (int item = 0; item < m_count; ++item) {
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [this] { return m_stopping || std::ssize(m_done) < m_ahead; });
                if (m_stopping) {
                    return;
                }
            }
            std::variant<Result, std::exception_ptr> result =
                [&]() -> std::variant<Result, std::exception_ptr> {
                try {
                    return m_work(item);
                } catch (...) {
                    return std::current_exception();
                }
            }();
            {
                const std::lock_guard lock(m_mutex);
                m_done.push_back(std::move(result));
            }
            m_changed.notify_all();
        }
    }

    std::function<Result(int)> m_work;
    int m_count;
    int m_ahead;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::variant<Result, std::exception_ptr>> m_done;
    int m_taken = 0;
    bool m_stopping = false;
    std::thread m_thread; // last: starts once everything it uses is there
};

} // namespace kelvano
