#include "core/store/early_write_back.h"

#include <cerrno>
#include <unistd.h>

namespace kelvano {

EarlyWriteBack::EarlyWriteBack(int descriptor) : m_descriptor(descriptor), m_thread([this] { run(); }) {}

EarlyWriteBack::~EarlyWriteBack() {
    stop();
}

void EarlyWriteBack::request() {
    {
        const std::lock_guard lock(m_mutex);
        m_requested = true;
    }
    m_wake.notify_one();
}

int EarlyWriteBack::stop() {
    if (m_thread.joinable()) {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }
    return m_error;
}

void EarlyWriteBack::run() {
    std::unique_lock lock(m_mutex);
    while (true) {
        m_wake.wait(lock, [this] { return m_requested || m_stopping; });
        if (m_stopping) {
            return;
        }
        m_requested = false;
        lock.unlock();
        const int error = ::fdatasync(m_descriptor) == 0 ? 0 : errno;
        lock.lock();
        if (error != 0 && m_error == 0) {
            m_error = error;
        }
    }
}

} // namespace kelvano
