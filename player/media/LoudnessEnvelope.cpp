#include "LoudnessEnvelope.h"

#include <algorithm>
#include <cmath>

namespace lirabox::media {
namespace {

constexpr double kFloorDb = -60.0;
constexpr double kTopDb = -10.0;

// Columns in the order of their distance from `centre`: centre, centre+1,
// centre-1, centre+2, ...
std::vector<std::size_t> outwardFrom(std::size_t centre, std::size_t count) {
    std::vector<std::size_t> order;
    order.reserve(count);
    centre = std::min(centre, count - 1);
    order.push_back(centre);
    for (std::size_t step = 1; order.size() < count; ++step) {
        if (centre + step < count) order.push_back(centre + step);
        if (step <= centre) order.push_back(centre - step);
    }
    return order;
}

}  // namespace

LoudnessEnvelope::LoudnessEnvelope(std::size_t columns)
    : mColumns(std::max<std::size_t>(columns, 1)), mLevels(mColumns, kUnknown), mSums(mColumns, 0.0),
      mCounts(mColumns, 0) {}

LoudnessEnvelope::LoudnessEnvelope(std::vector<float> levels)
    : mColumns(levels.size()), mLevels(std::move(levels)), mComplete(true) {}

float LoudnessEnvelope::levelOf(double meanSquare) {
    const double db = meanSquare > 0.0 ? 10.0 * std::log10(meanSquare) : kFloorDb;
    return static_cast<float>(std::clamp((db - kFloorDb) / (kTopDb - kFloorDb), 0.0, 1.0));
}

std::vector<float> LoudnessEnvelope::levels() const {
    std::lock_guard lock(mMutex);
    return mLevels;
}

std::uint64_t LoudnessEnvelope::revision() const {
    std::lock_guard lock(mMutex);
    return mRevision;
}

bool LoudnessEnvelope::complete() const {
    std::lock_guard lock(mMutex);
    return mComplete;
}

bool LoudnessEnvelope::measured(std::size_t column) const {
    std::lock_guard lock(mMutex);
    return mLevels[column] != kUnknown;
}

void LoudnessEnvelope::add(std::size_t column, std::optional<double> meanSquare) {
    std::lock_guard lock(mMutex);
    if (meanSquare) {
        mSums[column] += *meanSquare;
        ++mCounts[column];
    }
    // A column where nothing could be decoded shows as silence, not as unknown.
    mLevels[column] = mCounts[column] > 0 ? levelOf(mSums[column] / mCounts[column]) : 0.0f;
    ++mRevision;
}

bool LoudnessEnvelope::compute(EnvelopeSource& source, const std::function<double()>& focus,
                               const std::atomic<bool>& stop, const std::function<void()>& changed) {
    const double seconds = source.seconds();
    if (!(seconds > 0.0) || mComplete) return mComplete;
    const bool done = seconds / static_cast<double>(mColumns) <= kWholeColumn
                          ? computeWhole(source, seconds, focus, stop, changed)
                          : computeProbed(source, seconds, focus, stop, changed);
    if (done) {
        std::lock_guard lock(mMutex);
        mComplete = true;
        mSums = {};
        mCounts = {};
    }
    return done;
}

bool LoudnessEnvelope::computeWhole(EnvelopeSource& source, double seconds, const std::function<double()>& focus,
                                    const std::atomic<bool>& stop, const std::function<void()>& changed) {
    const double span = seconds / static_cast<double>(mColumns);
    const auto first = std::min(mColumns - 1, static_cast<std::size_t>(std::max(0.0, focus()) / span));
    for (std::size_t i = 0; i < mColumns; ++i) {
        if (stop) return false;
        const std::size_t column = (first + i) % mColumns;
        if (measured(column)) continue;  // in an earlier, stopped run
        add(column, source.meanSquare(static_cast<double>(column) * span, span));
        if (changed) changed();
    }
    return true;
}

// Pass p puts its probes at the odd multiples of span / 2^(p+1) in each
// column: the middle first, then the quarters, then the eighths and so on.
bool LoudnessEnvelope::computeProbed(EnvelopeSource& source, double seconds, const std::function<double()>& focus,
                                     const std::atomic<bool>& stop, const std::function<void()>& changed) {
    const double span = seconds / static_cast<double>(mColumns);
    int probes = 0;
    for (int pass = 0; probes < kProbes; ++pass) {
        const int parts = 1 << (pass + 1);
        const auto centre = std::min(mColumns - 1, static_cast<std::size_t>(std::max(0.0, focus()) / span));
        for (const std::size_t column : outwardFrom(centre, mColumns)) {
            if (stop) return false;
            for (int odd = 1; odd < parts; odd += 2) {
                const double at = (static_cast<double>(column) + static_cast<double>(odd) / parts) * span;
                add(column, source.meanSquare(std::min(at, seconds - kProbe), kProbe));
            }
            if (changed) changed();
        }
        probes += parts / 2;
    }
    return true;
}

}  // namespace lirabox::media
