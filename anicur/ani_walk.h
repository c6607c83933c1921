// The chunk walk of an animated cursor file (RIFF form ACON): finds the
// header, the step durations, the step sequence and the byte ranges of the
// frame images, without any system call, so that it can be tested and fuzzed
// on its own.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace anicur {

// Result codes of reading an animated cursor; the numbers are part of the
// reader's interface (TAniCur::Load returns them).
enum AniCode : int {
    AniOk = 0,
    AniCannotOpen = 1,     // the file cannot be opened for reading
    AniNotAnimated = 2,    // not "RIFF" .... "ACON" (also a file of fewer than 12 bytes)
    AniShortRead = 3,      // the file gave fewer bytes than its size
    AniRateCount = 5,      // the `rate` entry count differs from the step count
    AniSequenceCount = 6,  // the `seq ` entry count differs from the step count
    AniNoFrameList = 7,    // no `LIST` chunk of list type `fram`
    AniNoHeader = 10,      // no `anih` chunk, or one of fewer than 36 bytes
    AniTooManyFrames = 11, // more frames than kMaxFramesPerFile
    AniNotCursor = 12,     // a static cursor's file holds no cursor or icon directory
    AniTooManySteps = 13,  // more steps than kMaxStepsPerFile
    AniFailed = 99,        // anything else: a frame cannot be made, memory, read errors
};

// Most frames one file may have. Real animations hold a few dozen; each
// frame costs its reader a 32 x 32 image, and a file of thousands of tiny
// frames would cost megabytes for nothing anyone can watch.
constexpr size_t kMaxFramesPerFile = 1024;

// Most steps one file may have. Real animations step through a few hundred
// at most; a `rate` and `seq ` list of the largest file a reader takes could
// claim tens of millions, each costing eight bytes held for as long as the
// preview lives.
constexpr size_t kMaxStepsPerFile = 16384;

// A run of bytes inside the walked buffer.
struct ByteRange {
    size_t offset = 0;
    size_t length = 0;
};

struct AniWalkResult {
    int code = AniFailed;
    // Valid when code is AniOk: one entry per step in both vectors. Sequence
    // entries always name one of `frames`; with no frames there are no steps.
    std::vector<int> rates;    // jiffies (1/60 s), 0 .. INT32_MAX
    std::vector<int> sequence; // index into `frames`
    // The content of each `icon` chunk of the frame list, in file order: one
    // cursor or icon file image each (not yet checked).
    std::vector<ByteRange> frames;
    // What the walk forgave, valid when code is AniOk. A file with any of it
    // is read here but is no file to hand to the system's own loader, which
    // trusts the header's counts.
    uint32_t headerFrames = 0; // the frame count the `anih` header claims
    bool cut = false;          // a chunk ran past the end of the file
    bool clamped = false;      // a step named a frame the file does not hold, or steps were dropped
    bool repeated = false;     // an `anih`, `rate`, `seq ` or frame list came twice (the first counted)

    int StepCount() const noexcept { return static_cast<int>(sequence.size()); }
};

// Walks the whole file image `data` of `size` bytes (from the "RIFF" on).
// Never reads outside [data, data + size). Allocation failure propagates as
// std::bad_alloc.
AniWalkResult AniWalk(const uint8_t* data, size_t size);

} // namespace anicur
