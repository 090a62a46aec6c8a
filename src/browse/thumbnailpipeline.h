#pragma once
// Decoding ahead of a loop that consumes items strictly by index. Workers of a private,
// bounded pool decode the items a little ahead of the consumer; the consumer takes each
// result on its own thread when its turn comes, or decodes the item itself when no
// worker has started it yet. The number of items queued or finished but not yet taken
// is bounded by the window, so memory stays bounded whatever the number of items.
//
// The decode function runs on worker threads: it must use only what it captured by
// value (absolute paths, sizes) and hand back results made of values such as QImage.
// cancel() drops queued work, waits for running work and discards every result; the
// destructor cancels, so no worker outlives the object.

#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace pelorin {

template<class Result>
class ThumbnailPipeline
{
public:
    // index -> result; called on workers and, for items no worker started, on the consumer.
    using Decode = std::function<Result(int index)>;
    // index -> whether the item is decoded at all (the others are the consumer's own).
    using Wanted = std::function<bool(int index)>;

    explicit ThumbnailPipeline(int threads = QThread::idealThreadCount(), int window = 0)
        : mWindow(window > 0 ? window : 4 * std::max(threads, 1))
    {
        mPool.setMaxThreadCount(std::max(threads, 1));
        mPool.setExpiryTimeout(5000);
    }
    ~ThumbnailPipeline() { cancel(); }
    ThumbnailPipeline(const ThumbnailPipeline &) = delete;
    ThumbnailPipeline &operator=(const ThumbnailPipeline &) = delete;

    // Starts a run over count items, cancelling any earlier one.
    void start(int count, Decode decode, Wanted wanted = {})
    {
        cancel();
        std::lock_guard lock(mMutex);
        mDecode = std::move(decode);
        mWanted = std::move(wanted);
        mSlots.assign(std::max(count, 0), Slot{});
        mNext = 0;
        mActive = true;
        submitLocked(0);
    }

    bool isActive() const
    {
        std::lock_guard lock(mMutex);
        return mActive;
    }

    // The result of item index: waits for a worker that is decoding it, or decodes it
    // here. Empty when no run is active, the index lies outside it, the item is not
    // wanted or was already taken.
    std::optional<Result> take(int index)
    {
        std::unique_lock lock(mMutex);
        if (!mActive || index < 0 || index >= int(mSlots.size()))
            return std::nullopt;
        // Keep the workers busy on the items after this one meanwhile.
        submitLocked(index + 1);
        Slot &slot = mSlots[index];
        if (slot.state == State::Skipped || slot.state == State::Taken)
            return std::nullopt;
        if (slot.state == State::Pending || slot.state == State::Queued) {
            slot.state = State::Taken;
            const Decode decode = mDecode;
            lock.unlock();
            return decode(index);
        }
        const int generation = mGeneration;
        mDone.wait(lock, [&] { return generation != mGeneration || slot.state == State::Done; });
        if (generation != mGeneration)
            return std::nullopt; // cancelled meanwhile; slot may be gone
        slot.state = State::Taken;
        std::optional<Result> result = std::move(slot.result);
        slot.result.reset();
        return result;
    }

    // Drops every queued item, waits for the running ones and discards all results.
    void cancel()
    {
        {
            std::lock_guard lock(mMutex);
            mActive = false;
            ++mGeneration;
        }
        mDone.notify_all();
        mPool.clear();
        mPool.waitForDone();
        std::lock_guard lock(mMutex);
        mSlots.clear();
        mDecode = {};
        mWanted = {};
    }

    // For tests and measurements: items handed to workers so far.
    int submittedCount() const
    {
        std::lock_guard lock(mMutex);
        return mSubmitted;
    }

private:
    enum class State { Pending, Skipped, Queued, Running, Done, Taken };
    struct Slot
    {
        State state = State::Pending;
        std::optional<Result> result;
    };

    // Queues items from mNext on while they stay within the window ahead of consumer.
    void submitLocked(int consumer)
    {
        const int end = std::min(int(mSlots.size()), consumer + mWindow);
        for (; mNext < end; ++mNext) {
            Slot &slot = mSlots[mNext];
            if (slot.state != State::Pending)
                continue;
            if (mWanted && !mWanted(mNext)) {
                slot.state = State::Skipped;
                continue;
            }
            slot.state = State::Queued;
            ++mSubmitted;
            const int index = mNext;
            const int generation = mGeneration;
            mPool.start([this, index, generation] { run(index, generation); });
        }
    }

    void run(int index, int generation)
    {
        Decode decode;
        {
            std::lock_guard lock(mMutex);
            if (generation != mGeneration || mSlots[index].state != State::Queued)
                return; // cancelled, or the consumer took it over
            mSlots[index].state = State::Running;
            decode = mDecode;
        }
        Result result = decode(index);
        {
            std::lock_guard lock(mMutex);
            if (generation != mGeneration)
                return;
            mSlots[index].result = std::move(result);
            mSlots[index].state = State::Done;
        }
        mDone.notify_all();
    }

    mutable std::mutex mMutex;
    std::condition_variable mDone;
    QThreadPool mPool;
    const int mWindow;
    Decode mDecode;
    Wanted mWanted;
    std::vector<Slot> mSlots;
    int mNext = 0;
    int mGeneration = 0;
    int mSubmitted = 0;
    bool mActive = false;
};

} // namespace pelorin
