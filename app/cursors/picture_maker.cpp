#include "app/cursors/picture_maker.h"

#include <chrono>
#include <new>

namespace rolemenu {
PictureMaker::PictureMaker(Make make) : make_(std::move(make)), thread_([this] { Run(); }) {}

PictureMaker::~PictureMaker()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        queued_.clear();
    }
    changed_.notify_all();
    thread_.join();
}

void PictureMaker::Queue(const Job& job)
{
    {
        std::lock_guard lock(mutex_);
        queued_.push_back(job);
    }
    changed_.notify_all();
}

std::vector<PictureMaker::Done> PictureMaker::Take(DWORD waitMs)
{
    std::unique_lock lock(mutex_);
    if (waitMs > 0)
        changed_.wait_for(lock, std::chrono::milliseconds(waitMs), [this] { return queued_.empty() && !making_; });
    return std::exchange(done_, {});
}

bool PictureMaker::Busy() const
{
    std::lock_guard lock(mutex_);
    return making_ || !queued_.empty();
}

void PictureMaker::Run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !queued_.empty(); });
        if (stopping_)
            return;
        Job job = std::move(queued_.front());
        queued_.pop_front();
        making_ = true;
        lock.unlock();
        Picture picture;
        try {
            picture = make_(job.path, job.side);
        } catch (...) {
            // Memory, or whatever else: the menu shows the system's cursor.
        }
        lock.lock();
        making_ = false;
        try {
            done_.push_back({std::move(job), std::move(picture)});
        } catch (const std::bad_alloc&) {
        }
        changed_.notify_all();
    }
}

} // namespace rolemenu
