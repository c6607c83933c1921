// Which files may go to the system's own cursor loader: none of those the
// walk reads only by forgiving them something (the real cursors, whole and
// cut short, are AniWalkCorpus's).
#include "anicur/cursor_check.h"
#include "anicur/icon_dir.h"

#include "ani_builder.h"
#include "test_bytes.h"

#include <gtest/gtest.h>

using namespace anitest;

namespace {

bool Whole(const Bytes& bytes)
{
    const HeapBytes heap(bytes);
    return anicur::IsWholeCursorImage(heap.data(), heap.size());
}

TEST(CursorCheck, WhatTheWalkForgivesIsNotWhole)
{
    const Bytes frame = SolidFrame(0xFF0000);
    const Bytes frames = FrameList({frame, frame});
    // The frame with one byte changed.
    auto with = [&frame](size_t at, char value) {
        Bytes changed = frame;
        changed[at] = value;
        return changed;
    };
    const Bytes outside = with(6 + 12, char(0xFF)); // the first entry's offset: past the end
    Bytes zeroLength = frame;
    for (int i = 0; i < 4; ++i)
        zeroLength[6 + 8 + i] = 0;
    struct Row {
        const char* name;
        Bytes file;
        bool whole;
    };
    const Row rows[] = {
        {"two frames, two steps", Riff(Anih(2, 2, 3) + frames), true},
        {"a sequence over the frames", Riff(Anih(3, 2, 3) + Chunk("seq ", U32s({1, 0, 1})) + frames), true},
        {"a static cursor", frame, true},
        {"an icon", with(2, 1), true},
        {"the header claims more frames", Riff(Anih(2, 3, 3) + frames), false},
        {"more steps than frames, no sequence", Riff(Anih(3, 2, 3) + frames), false},
        {"a step names a frame not there", Riff(Anih(2, 2, 3) + Chunk("seq ", U32s({0, 5})) + frames), false},
        {"a second header", Riff(Anih(2, 2, 3) + frames + Anih(2, 2, 3)), false},
        {"no frames", Riff(Anih(0, 0, 3) + FrameList({})), false},
        {"a frame of no cursor", Riff(Anih(1, 1, 3) + FrameList({Bytes(40, 'x')})), false},
        {"a frame's image outside it", Riff(Anih(1, 1, 3) + FrameList({outside})), false},
        {"a static cursor's image outside it", outside, false},
        {"an entry of no bytes", zeroLength, false},
        {"more entries claimed than there are", with(4, 2), false},
        {"no entries", with(4, 0), false},
        {"a directory of type 3", with(2, 3), false},
        {"a directory of type 0", with(2, 0), false},
        {"a reserved word set", with(0, 1), false},
        {"a directory's header alone", frame.substr(0, 6), false},
        {"text", Bytes("This is not a cursor.\r\n"), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Whole(row.file), row.whole);
    }
    EXPECT_FALSE(anicur::IsWholeCursorImage(nullptr, 0));
    // A file's first six bytes tell a cursor or icon directory from anything else.
    EXPECT_TRUE(anicur::IsIconDirectory(reinterpret_cast<const uint8_t*>(frame.data()), 6));
}

} // namespace
