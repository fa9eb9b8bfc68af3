#pragma once
// Work on a thread of its own that nobody joins, for calls that may block for
// as long as the system likes (a file on a slow disk): the caller waits for
// the outcome as long as it chooses and may leave without it. The thread then
// ends on its own once the work returns, and an outcome nobody took is handed
// to `discard` (which releases what it holds, an open file say).
//
// Threading: construct, wait, take and destroy on one thread; the work must
// not throw and shares nothing with the caller but the state kept here.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace lirabox::media {

template <class Outcome>
class DetachedWork {
public:
    explicit DetachedWork(std::function<Outcome()> work, std::function<void(Outcome&)> discard = {})
        : mShared(std::make_shared<Shared>()) {
        mShared->discard = std::move(discard);
        std::thread([shared = mShared, work = std::move(work)] {
            Outcome outcome = work();
            std::lock_guard lock(shared->mutex);
            if (shared->abandoned) {
                if (shared->discard) shared->discard(outcome);
            } else {
                shared->outcome = std::move(outcome);
            }
            shared->finished = true;
            shared->finishedChanged.notify_all();
        }).detach();
    }
    ~DetachedWork() {
        std::lock_guard lock(mShared->mutex);
        mShared->abandoned = true;
        std::optional<Outcome> unwanted = std::exchange(mShared->outcome, std::nullopt);
        if (unwanted.has_value() && mShared->discard) mShared->discard(unwanted.value());
    }
    DetachedWork(const DetachedWork&) = delete;
    DetachedWork& operator=(const DetachedWork&) = delete;

    // Waits at most `longest` for the work to finish; true once it has.
    bool waitFor(std::chrono::milliseconds longest) {
        std::unique_lock lock(mShared->mutex);
        return mShared->finishedChanged.wait_for(lock, longest, [&] { return mShared->finished; });
    }

    // Once finished: the outcome, handed over once (a default one after that).
    Outcome take() {
        std::lock_guard lock(mShared->mutex);
        return std::exchange(mShared->outcome, std::nullopt).value_or(Outcome {});
    }

private:
    struct Shared {
        std::mutex mutex;
        std::condition_variable finishedChanged;
        bool finished = false;
        bool abandoned = false;
        std::optional<Outcome> outcome;
        std::function<void(Outcome&)> discard;
    };
    std::shared_ptr<Shared> mShared;
};

}  // namespace lirabox::media
