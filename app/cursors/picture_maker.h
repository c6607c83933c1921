// Makes the role menu's pictures of cursor files on a thread of its own: a
// file on a busy disk, or a large one, never holds the window while it is
// read.
#pragma once
#include "app/cursors/role_picture.h"

#include <windows.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace rolemenu {

class PictureMaker {
public:
    // What makes a picture of the file at `path` at `side` pixels; runs on
    // the maker's thread.
    using Make = std::function<Picture(const std::wstring& path, int side)>;
    struct Job {
        std::wstring path;
        int side = 0;
    };
    struct Done {
        Job job;
        Picture picture; // empty when the file could not be read as a cursor
    };

    explicit PictureMaker(Make make = FilePicture);
    // Waits for the picture being made, if any; the others are dropped.
    ~PictureMaker();
    PictureMaker(const PictureMaker&) = delete;
    PictureMaker& operator=(const PictureMaker&) = delete;

    // Queues a picture; pictures are made, and taken, in the order queued.
    void Queue(const Job& job);
    // The pictures made since the last call, waiting up to `waitMs` for the
    // queue to empty.
    std::vector<Done> Take(DWORD waitMs = 0);
    // Whether pictures are queued or being made.
    bool Busy() const;

private:
    void Run();

    Make make_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> queued_;
    std::vector<Done> done_;
    bool making_ = false;
    bool stopping_ = false;
    std::thread thread_; // last: starts once the rest is ready
};

} // namespace rolemenu
