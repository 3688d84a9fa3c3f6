#pragma once

#include <chrono>
#include <optional>

namespace mosaikon {

// When the editor hands its icon to the kept copy's writer: at once after a first change, then
// no sooner than `gap` after the previous hand-over while changes keep coming, so a long drag is
// kept as it goes. The gap is a tenth of a second short of a second, which leaves that tenth for
// the writer: a change is on disk within a second of being made.
class KeptCopySchedule {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration kGap = std::chrono::milliseconds(900);

    explicit KeptCopySchedule(Clock::duration gap = kGap) : m_gap(gap) {}

    // A change made at `now`; returns when the icon should be handed over (`now` or later).
    Clock::time_point changed(Clock::time_point now);
    // The icon was handed over at `now`: the changes so far are kept.
    void handedOver(Clock::time_point now);
    // When the next hand-over is due; none while every change is kept.
    std::optional<Clock::time_point> due() const { return m_due; }

private:
    Clock::duration m_gap;
    std::optional<Clock::time_point> m_lastHandOver;
    std::optional<Clock::time_point> m_due;
};

}  // namespace mosaikon
