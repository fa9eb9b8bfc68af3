#pragma once
// How far ahead of the sound heard a running output is kept filled. A seek or
// a pause is heard after the lead, so it starts short (kOutputLead); a feed
// that finds less than one period queued was late enough to nearly break the
// sound up, and the lead grows by a period, up to `longest`. After `calm`
// frames played without such a feed it shrinks by a period again, down to
// where it started. All in frames of the output.

#include <cstdint>

namespace lirabox::media {

class OutputLead {
public:
    OutputLead(std::uint32_t shortest, std::uint32_t longest, std::uint32_t period, std::uint64_t calm);

    // At a feed of the running output: what is still queued and what has been
    // played since the output's last reset; the lead to fill up to.
    std::uint32_t atFeed(std::uint32_t queued, std::uint64_t played);
    std::uint32_t frames() const { return mLead; }

private:
    std::uint32_t mShortest;
    std::uint32_t mLongest;
    std::uint32_t mPeriod;
    std::uint64_t mCalm;
    std::uint32_t mLead;
    std::uint64_t mCalmSince = 0;  // played frames at the last late feed or change
};

}  // namespace lirabox::media
