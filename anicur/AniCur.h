// Reads an animated cursor file (.ani, RIFF form ACON) into what the file
// list needs to animate it in place: frame images at the list's icon size,
// the frame shown at each step and how long each step lasts. A static cursor file (.cur) reads
// as one frame shown for good.
#pragma once
#include "anicur/frame_pixels.h"

#include <string>
#include <vector>

class TAniCur {
public:
    // Frames starts empty, its frames `side` x `side` pixels.
    explicit TAniCur(int side = 32) noexcept : Frames(side) {}
    TAniCur(const TAniCur&) = delete;
    TAniCur& operator=(const TAniCur&) = delete;

    // Reads the file at `path` and returns 0, replacing every member; any
    // other code (see anicur::AniCode) leaves the members as they were.
    // Never throws; the file is only read.
    int Load(const std::wstring& path) noexcept;
    // Reads the static cursor (or icon) file at `path`: one frame, the image
    // of its directory that best fits the frames' side, in one step; isStatic becomes
    // true. Codes and failures as for Load (AniNotCursor for a file without
    // a cursor or icon directory, an animated one included).
    int LoadStatic(const std::wstring& path) noexcept;

    // One image per `icon` chunk of the file, in file order, with its mask:
    // drawn as the system draws the cursor, over whatever lies beneath.
    anicur::FramePixels Frames;
    // Number of animation steps; 0 before the first successful load, and for
    // a file without frames.
    int StepCount = 0;
    // For each step, the index in Frames of the image shown (always < the
    // image count).
    std::vector<int> Sequence;
    // For each step, how long it is shown, in jiffies (1/60 second).
    std::vector<int> Rates;
    // Loaded by LoadStatic: the one step never ends (its rate means nothing).
    bool isStatic = false;
};
