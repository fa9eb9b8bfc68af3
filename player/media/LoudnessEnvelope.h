#pragma once
// The loudness envelope of a recording at a given number of columns (the
// seek bar's width in pixels): one level per column, 0 (silence, -60 dBFS
// and below) to 1 (-10 dBFS and above), or unknown until measured.
//
// compute() measures it from an EnvelopeSource, the columns near the playing
// position first:
//   - when a column spans at most kWholeColumn seconds, every column is read
//     whole, in order from the playing position's column to the end and then
//     from the start (one seek);
//   - for longer recordings, a coarse pass reads one short probe in the
//     middle of each column, nearest the playing position first, and finer
//     passes add probes between the earlier ones, up to kProbes a column, so
//     the shape sharpens while little of the recording is decoded.
// Memory stays a few numbers per column, whatever the recording's length.
//
// Threads: compute() runs on a worker thread; levels() and revision() may be
// called from any thread meanwhile (under the envelope's lock).

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "EnvelopeSource.h"

namespace lirabox::media {

class LoudnessEnvelope {
public:
    static constexpr double kWholeColumn = 2.0;  // seconds
    static constexpr double kProbe = 0.25;       // seconds
    static constexpr int kProbes = 7;            // 1 + 2 + 4, in three passes
    static constexpr float kUnknown = -1.0f;

    explicit LoudnessEnvelope(std::size_t columns);
    // A finished envelope kept from before.
    explicit LoudnessEnvelope(std::vector<float> levels);

    // Measures every column; returns false when stopped early (`stop` set)
    // or when the source holds no length. `focus` tells the playing position
    // in seconds (read between probes); `changed` is called after each column
    // measured, on this thread.
    bool compute(EnvelopeSource& source, const std::function<double()>& focus, const std::atomic<bool>& stop,
                 const std::function<void()>& changed = {});

    std::size_t columns() const noexcept { return mColumns; }
    std::vector<float> levels() const;
    // Counts the changes, so a view redraws only when something is new.
    std::uint64_t revision() const;
    bool complete() const;

    // The level shown for a mean square.
    static float levelOf(double meanSquare);

private:
    bool computeWhole(EnvelopeSource& source, double seconds, const std::function<double()>& focus,
                      const std::atomic<bool>& stop, const std::function<void()>& changed);
    bool computeProbed(EnvelopeSource& source, double seconds, const std::function<double()>& focus,
                       const std::atomic<bool>& stop, const std::function<void()>& changed);
    void add(std::size_t column, std::optional<double> meanSquare);
    bool measured(std::size_t column) const;

    std::size_t mColumns;
    mutable std::mutex mMutex;
    std::vector<float> mLevels;
    std::vector<double> mSums;  // of the probes' mean squares, per column
    std::vector<int> mCounts;
    std::uint64_t mRevision = 0;
    bool mComplete = false;
};

}  // namespace lirabox::media
