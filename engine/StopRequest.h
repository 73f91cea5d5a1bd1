#pragma once

#include <atomic>

namespace dnl {

// A wish, from outside a run, that it end between two records: the user closed the window, or
// the program was told to stop. The run finishes the record it is writing and looks again
// before the next header. Setting it is safe in a signal handler and from another thread.
class StopRequest {
public:
    void Request() noexcept { m_requested.store(true, std::memory_order_relaxed); }
    bool Requested() const noexcept { return m_requested.load(std::memory_order_relaxed); }

private:
    static_assert(std::atomic<bool>::is_always_lock_free);
    std::atomic<bool> m_requested{false};
};

}  // namespace dnl
