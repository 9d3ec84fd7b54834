#pragma once

#include <algorithm>
#include <chrono>

// The moment a solve gives up. The solver looks before it solves each line,
// the unit of all its work, so it overruns a limit by at most one line's time
// (well under a millisecond for the longest line).
class CDeadline {
public:
    using Seconds = std::chrono::duration<double>;

    explicit CDeadline(Seconds limit)
        : m_end(Clock::now() + std::chrono::duration_cast<Clock::duration>(std::clamp(limit, Seconds(0), kLongest)))
    {
    }

    bool Passed() const { return Clock::now() >= m_end; }

private:
    using Clock = std::chrono::steady_clock;
    // Far beyond any wait, and far from the clock's own range.
    static constexpr Seconds kLongest{1e7};

    Clock::time_point m_end;
};
