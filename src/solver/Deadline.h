#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>

// The moment a solve gives up, or the moment another thread tells it to stop
// (the search and the back end each have one; a copy has the same end, and
// stops on its own). The solver
// looks before it solves each line, the unit of all its work, so it overruns
// a limit by at most one line's time (well under a millisecond for the
// longest line); the back end looks every few decisions.
class CDeadline {
public:
    using Clock = std::chrono::steady_clock;
    using Seconds = std::chrono::duration<double>;

    explicit CDeadline(Seconds limit)
        : m_end(Clock::now() + std::chrono::duration_cast<Clock::duration>(std::clamp(limit, Seconds(0), kLongest)))
    {
    }

    CDeadline(const CDeadline& other)
        : m_end(other.m_end)
    {
    }
    CDeadline& operator=(const CDeadline&) = delete;

    bool Passed() const { return m_stopped.load(std::memory_order_relaxed) || Clock::now() >= m_end; }
    void Stop() { m_stopped.store(true, std::memory_order_relaxed); }
    Clock::time_point End() const { return m_end; }

private:
    // Far beyond any wait, and far from the clock's own range.
    static constexpr Seconds kLongest{1e7};

    Clock::time_point m_end;
    std::atomic<bool> m_stopped{false};
};
