#include "OutputLead.h"

#include <algorithm>

namespace lirabox::media {

OutputLead::OutputLead(std::uint32_t shortest, std::uint32_t longest, std::uint32_t period, std::uint64_t calm)
    : mShortest(shortest), mLongest(std::max(shortest, longest)), mPeriod(period), mCalm(calm), mLead(shortest) {}

std::uint32_t OutputLead::atFeed(std::uint32_t queued, std::uint64_t played) {
    if (played < mCalmSince) mCalmSince = played;  // the output was reset
    if (queued < mPeriod) {
        mLead = std::min(mLongest, mLead + mPeriod);
        mCalmSince = played;
    } else if (played - mCalmSince >= mCalm && mLead > mShortest) {
        mLead = mLead - mShortest > mPeriod ? mLead - mPeriod : mShortest;
        mCalmSince = played;
    }
    return mLead;
}

}  // namespace lirabox::media
