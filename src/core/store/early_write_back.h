#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

namespace kelvano {

/// Syncs a large file now and then on a thread of its own while it is still being written, so that
/// the sync that makes it durable at the end waits only for the last part rather than for the whole
/// file: the disk works while the contents are still being made.
class EarlyWriteBack {
public:
    /// Syncs `descriptor`, which must stay open while this lives, whenever asked.
    explicit EarlyWriteBack(int descriptor);
    ~EarlyWriteBack();
    EarlyWriteBack(const EarlyWriteBack&) = delete;
    EarlyWriteBack& operator=(const EarlyWriteBack&) = delete;

    /// Asks for one more sync of what has been written so far; one already waiting covers it.
    void request();
    /// Waits for the sync under way, if any, and ends the thread; the error number of a sync that
    /// failed, or 0. The caller must not trust the file when it is not 0: the error may not be
    /// reported again.
    int stop();

private:
    void run();

    int m_descriptor;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_requested = false;
    bool m_stopping = false;
    int m_error = 0;
    std::thread m_thread; // last: starts once everything it uses is there
};

} // namespace kelvano
