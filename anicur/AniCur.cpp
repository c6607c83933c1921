#include "anicur/AniCur.h"

#include "anicur/ani_walk.h"
#include "anicur/cursor_file.h"
#include "anicur/frame_cell.h"

using namespace anicur;

int TAniCur::Load(const std::wstring& path) noexcept
{
    try {
        std::vector<uint8_t> bytes;
        if (int code = ReadCursorFile(path, bytes); code != AniOk)
            return code;
        AniWalkResult walk = AniWalk(bytes.data(), bytes.size());
        if (walk.code != AniOk)
            return walk.code;

        FramePixels frames(Frames.Side());
        FrameCell cell(Frames.Side());
        for (const ByteRange& frame : walk.frames)
            if (!cell.AddTo(frames, bytes.data() + frame.offset, frame.length))
                return AniFailed;

        // Everything is read: replace the members together.
        Frames = std::move(frames);
        StepCount = walk.StepCount();
        Sequence = std::move(walk.sequence);
        Rates = std::move(walk.rates);
        isStatic = false;
        return AniOk;
    } catch (...) {
        return AniFailed; // memory
    }
}

int TAniCur::LoadStatic(const std::wstring& path) noexcept
{
    try {
        std::vector<uint8_t> bytes;
        if (int code = ReadStaticCursorFile(path, bytes); code != AniOk)
            return code;
        // The same choice and drawing as a frame of an animated cursor: a
        // frame is a cursor file image too.
        FramePixels frames(Frames.Side());
        FrameCell cell(Frames.Side());
        if (!cell.AddTo(frames, bytes.data(), bytes.size()))
            return AniFailed;
        std::vector<int> sequence{0}, rates{0};
        Frames = std::move(frames);
        StepCount = 1;
        Sequence = std::move(sequence);
        Rates = std::move(rates);
        isStatic = true;
        return AniOk;
    } catch (...) {
        return AniFailed; // memory
    }
}
