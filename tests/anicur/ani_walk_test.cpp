#include "anicur/ani_walk.h"

#include "ani_builder.h"
#include "test_bytes.h"

#include <gtest/gtest.h>

#include <climits>

using namespace anicur;
using namespace anitest;

namespace {

AniWalkResult Walk(const Bytes& file)
{
    HeapBytes heap(file);
    return AniWalk(heap.data(), heap.size());
}

// Three distinguishable frames; the walk does not look inside them.
std::vector<Bytes> ThreeFrames()
{
    return {Bytes(10, 'a'), Bytes(12, 'b'), Bytes(14, 'c')};
}

std::vector<int> Ints(std::initializer_list<int> v) { return v; }

} // namespace

TEST(AniWalk, NotAnAnimatedCursorGivesCode2)
{
    EXPECT_EQ(Walk("").code, AniNotAnimated);
    // Shorter than the RIFF header, even when what is there is right.
    EXPECT_EQ(Walk(Bytes("RIFF\0\0\0\0ACO", 11)).code, AniNotAnimated);
    // A static cursor file.
    EXPECT_EQ(Walk(SolidFrame(0xFF0000)).code, AniNotAnimated);
    EXPECT_EQ(Walk("RIFX" + U32(4) + "ACON").code, AniNotAnimated);
    EXPECT_EQ(Walk("RIFF" + U32(4) + "AVI ").code, AniNotAnimated);
    EXPECT_EQ(Walk("riff" + U32(4) + "acon").code, AniNotAnimated);
}

TEST(AniWalk, MissingOrShortHeaderGivesCode10)
{
    EXPECT_EQ(Walk(Riff("")).code, AniNoHeader);
    EXPECT_EQ(Walk(Riff(FrameList(ThreeFrames()))).code, AniNoHeader);
    // 32 bytes: the default rate is there, the flags are not.
    EXPECT_EQ(Walk(Riff(Chunk("anih", U32s({32, 1, 1, 0, 0, 0, 0, 5})) + FrameList(ThreeFrames()))).code,
              AniNoHeader);
    // Declared 36 bytes, but the file ends after 20.
    EXPECT_EQ(Walk(Riff(Anih(3, 3, 5)).substr(0, 12 + 8 + 20)).code, AniNoHeader);
    // An identifier compared case-sensitively.
    EXPECT_EQ(Walk(Riff(Chunk("ANIH", U32s({36, 3, 3, 0, 0, 0, 0, 5, 1})) + FrameList(ThreeFrames()))).code,
              AniNoHeader);
}

TEST(AniWalk, EntryCountsMustMatchTheStepCount)
{
    const Bytes fram = FrameList(ThreeFrames());
    EXPECT_EQ(Walk(Riff(Anih(3, 3, 5) + Chunk("rate", U32s({1, 2, 3, 4})) + fram)).code, AniRateCount);
    EXPECT_EQ(Walk(Riff(Anih(3, 3, 5) + Chunk("seq ", U32s({0, 1})) + fram)).code, AniSequenceCount);
    // The entry count is the length divided by 4, rounded toward zero.
    const AniWalkResult r = Walk(Riff(Anih(2, 3, 5) + Chunk("rate", U32s({7, 8}) + "xy") + fram));
    EXPECT_EQ(r.code, AniOk);
    EXPECT_EQ(r.rates, Ints({7, 8}));
    // A rate mismatch is reported before a missing frame list.
    EXPECT_EQ(Walk(Riff(Anih(3, 3, 5) + Chunk("rate", U32s({1})))).code, AniRateCount);
    // A rate chunk cut off by the end of the file has fewer entries.
    const Bytes withRate = Riff(Anih(3, 3, 5) + fram + Chunk("rate", U32s({1, 2, 3})));
    EXPECT_EQ(Walk(withRate.substr(0, withRate.size() - 4)).code, AniRateCount);
}

TEST(AniWalk, NoFrameListGivesCode7)
{
    EXPECT_EQ(Walk(Riff(Anih(3, 3, 5) + Chunk("rate", U32s({1, 2, 3})) + Chunk("seq ", U32s({0, 1, 2})))).code,
              AniNoFrameList);
    EXPECT_EQ(Walk(Riff(Anih(3, 3, 5) + List("INFO", Chunk("INAM", "x")))).code, AniNoFrameList);
    EXPECT_EQ(Walk(Riff(Anih(3, 3, 5) + Chunk("LIST", "fr"))).code, AniNoFrameList);
    EXPECT_EQ(Walk(Riff(Anih(3, 3, 5) + List("FRAM", Chunk("icon", "abcd")))).code, AniNoFrameList);
}

TEST(AniWalk, ReadsAFileInTheUsualOrder)
{
    // LIST INFO, anih, rate, seq, LIST fram with three icons, five steps.
    const Bytes file = Riff(List("INFO", Chunk("INAM", "Walk") + Chunk("IART", "someone")) + Anih(5, 3, 9) +
                            Chunk("rate", U32s({1, 2, 3, 4, 5})) + Chunk("seq ", U32s({0, 1, 2, 1, 0})) +
                            FrameList(ThreeFrames()));
    const AniWalkResult r = Walk(file);
    ASSERT_EQ(r.code, AniOk);
    EXPECT_EQ(r.StepCount(), 5);
    EXPECT_EQ(r.rates, Ints({1, 2, 3, 4, 5}));
    EXPECT_EQ(r.sequence, Ints({0, 1, 2, 1, 0}));
    ASSERT_EQ(r.frames.size(), 3u);
    // The ranges are the icon chunks' contents.
    const std::vector<Bytes> frames = ThreeFrames();
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(file.substr(r.frames[i].offset, r.frames[i].length), frames[i]) << i;
}

TEST(AniWalk, DefaultsWithoutRateAndSequence)
{
    const AniWalkResult r = Walk(Riff(Anih(3, 3, 6) + FrameList(ThreeFrames())));
    ASSERT_EQ(r.code, AniOk);
    EXPECT_EQ(r.rates, Ints({6, 6, 6}));
    EXPECT_EQ(r.sequence, Ints({0, 1, 2}));

    const AniWalkResult none = Walk(Riff(Anih(0, 3, 6) + FrameList(ThreeFrames())));
    ASSERT_EQ(none.code, AniOk);
    EXPECT_EQ(none.StepCount(), 0);
    EXPECT_TRUE(none.rates.empty());
    EXPECT_EQ(none.frames.size(), 3u);
}

TEST(AniWalk, FindsChunksInAnyOrder)
{
    const Bytes anih = Anih(3, 3, 5), rate = Chunk("rate", U32s({4, 5, 6})), seq = Chunk("seq ", U32s({2, 1, 0}));
    const Bytes fram = FrameList(ThreeFrames());
    const Bytes info = List("INFO", Chunk("IART", "an artist"));
    for (const Bytes& chunks : {seq + rate + anih + fram,           // seq before rate
                                anih + fram + rate + seq,           // both after the frames
                                anih + rate + seq + info + fram,    // LIST INFO before the frames
                                fram + seq + info + rate + anih,    // header last
                                anih + Chunk("junk", "12345678") + rate + fram + seq}) {
        const AniWalkResult r = Walk(Riff(chunks));
        ASSERT_EQ(r.code, AniOk);
        EXPECT_EQ(r.rates, Ints({4, 5, 6}));
        EXPECT_EQ(r.sequence, Ints({2, 1, 0}));
        EXPECT_EQ(r.frames.size(), 3u);
    }
    // The first chunk of each kind counts.
    const AniWalkResult r = Walk(Riff(anih + rate + fram + Anih(1, 1, 1) + Chunk("rate", U32s({9})) +
                                      FrameList({Bytes(4, 'z')})));
    ASSERT_EQ(r.code, AniOk);
    EXPECT_EQ(r.rates, Ints({4, 5, 6}));
    EXPECT_EQ(r.frames.size(), 3u);
}

TEST(AniWalk, OddChunksWithAndWithoutThePadByte)
{
    const std::vector<Bytes> odd = {Bytes(11, 'a'), Bytes(13, 'b'), Bytes(15, 'c')};
    for (bool pad : {true, false}) {
        SCOPED_TRACE(pad ? "padded" : "unpadded");
        Bytes icons;
        for (const Bytes& f : odd)
            icons += Chunk("icon", f, pad);
        const Bytes file = Riff(Chunk("junk", "xyz", pad) + List("INFO", Chunk("INAM", "odd"), pad) +
                                Anih(3, 3, 5) + Chunk("rate", U32s({1, 2, 3}) + "r", pad) +
                                Chunk("seq ", U32s({2, 1, 0}) + "s", pad) + List("fram", icons, pad) +
                                Chunk("tail", "t", pad));
        const AniWalkResult r = Walk(file);
        ASSERT_EQ(r.code, AniOk);
        EXPECT_EQ(r.rates, Ints({1, 2, 3}));
        EXPECT_EQ(r.sequence, Ints({2, 1, 0}));
        ASSERT_EQ(r.frames.size(), 3u);
        for (size_t i = 0; i < 3; ++i)
            EXPECT_EQ(file.substr(r.frames[i].offset, r.frames[i].length), odd[i]);
    }
    // Where the pad byte is missing and the next length's low byte is a
    // printable character, the known identifier decides.
    const Bytes tricky = Riff(Anih(2, 2, 5) + List("fram", Chunk("icon", "abc", false) +
                                                           Chunk("icon", Bytes(0x41, 'q'))));
    const AniWalkResult r = Walk(tricky);
    ASSERT_EQ(r.code, AniOk);
    ASSERT_EQ(r.frames.size(), 2u);
    EXPECT_EQ(r.frames[1].length, 0x41u);
}

TEST(AniWalk, FrameListShorterThanItsLastFrame)
{
    // The list's length stops 16 bytes short of the end of its last icon, and
    // a rate chunk follows the icon: the icon and the rate chunk both count.
    const std::vector<Bytes> frames = ThreeFrames();
    Bytes fram = FrameList({frames[0], Bytes(40, 'L')});
    const uint32_t shortLength = static_cast<uint32_t>(fram.size() - 8 - 16);
    fram.replace(4, 4, U32(shortLength));
    const Bytes file = Riff(Anih(2, 2, 5) + fram + Chunk("rate", U32s({3, 4})));
    const AniWalkResult r = Walk(file);
    ASSERT_EQ(r.code, AniOk);
    ASSERT_EQ(r.frames.size(), 2u);
    EXPECT_EQ(r.frames[1].length, 40u);
    EXPECT_EQ(r.rates, Ints({3, 4}));
}

TEST(AniWalk, FileEndsInsideTheFrames)
{
    // The RIFF length is not trusted: the data is the file, and a frame cut
    // off by the end of the file is left out.
    const std::vector<Bytes> frames = ThreeFrames();
    const Bytes whole = RiffWithLength(Anih(3, 3, 5) + FrameList(frames), 0);
    const AniWalkResult cut = Walk(whole.substr(0, whole.size() - 1));
    ASSERT_EQ(cut.code, AniOk);
    EXPECT_EQ(cut.frames.size(), 2u);
    EXPECT_EQ(cut.sequence, Ints({0, 1, 1}));
    const AniWalkResult all = Walk(whole + Bytes(7, '\0'));
    ASSERT_EQ(all.code, AniOk);
    EXPECT_EQ(all.frames.size(), 3u);
}

TEST(AniWalk, NoStepNamesAMissingFrame)
{
    const Bytes fram = FrameList(ThreeFrames());
    const AniWalkResult seq = Walk(Riff(Anih(4, 3, 5) + Chunk("seq ", U32s({0, 3, 0xFFFFFFFF, 2})) + fram));
    ASSERT_EQ(seq.code, AniOk);
    EXPECT_EQ(seq.sequence, Ints({0, 2, 2, 2}));
    // More steps than frames, without a sequence.
    const AniWalkResult rate = Walk(Riff(Anih(5, 3, 5) + Chunk("rate", U32s({1, 1, 1, 1, 1})) + fram));
    ASSERT_EQ(rate.code, AniOk);
    EXPECT_EQ(rate.sequence, Ints({0, 1, 2, 2, 2}));
    const AniWalkResult plain = Walk(Riff(Anih(5, 3, 5) + fram));
    ASSERT_EQ(plain.code, AniOk);
    EXPECT_EQ(plain.sequence, Ints({0, 1, 2, 2, 2}));
    // No frames: nothing to show at any step.
    const AniWalkResult empty = Walk(Riff(Anih(3, 0, 5) + Chunk("seq ", U32s({0, 0, 0})) + List("fram", "")));
    ASSERT_EQ(empty.code, AniOk);
    EXPECT_EQ(empty.StepCount(), 0);
    EXPECT_TRUE(empty.frames.empty());
}

TEST(AniWalk, CountsAndValuesAreBoundedByTheData)
{
    // Four billion steps claimed with nothing to back them.
    const Bytes file = Riff(Anih(0xFFFFFFFF, 3, 5) + FrameList(ThreeFrames()));
    const AniWalkResult r = Walk(file);
    ASSERT_EQ(r.code, AniOk);
    EXPECT_LE(static_cast<size_t>(r.StepCount()), file.size() / 4);
    EXPECT_EQ(r.sequence.size(), r.rates.size());
    // Durations above the signed range are held at its top.
    const AniWalkResult big =
        Walk(Riff(Anih(2, 3, 0x80000000) + Chunk("seq ", U32s({0, 1})) + FrameList(ThreeFrames())));
    ASSERT_EQ(big.code, AniOk);
    EXPECT_EQ(big.rates, Ints({INT_MAX, INT_MAX}));
    // A chunk length that runs past the end stops the walk without wrapping.
    EXPECT_EQ(Walk(Riff("junk" + U32(0xFFFFFFF8) + Anih(3, 3, 5) + FrameList(ThreeFrames()))).code, AniNoHeader);
    EXPECT_EQ(Walk(Riff(Anih(3, 3, 5) + "LIST" + U32(0xFFFFFFFF) + "fram" + Chunk("icon", "abcd"))).frames.size(),
              1u);
}

TEST(AniWalk, RefusesMoreFramesThanTheLimit)
{
    struct Case {
        size_t frames;
        int code;
    };
    for (const Case& c : {Case{kMaxFramesPerFile, AniOk}, Case{kMaxFramesPerFile + 1, AniTooManyFrames},
                          Case{30000, AniTooManyFrames}}) {
        SCOPED_TRACE(c.frames);
        // Tiny frames: the walk does not look inside them.
        const AniWalkResult r = Walk(Riff(Anih(2, 2, 5) + FrameList(std::vector<Bytes>(c.frames, "abcd"))));
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.frames.size(), c.code == AniOk ? c.frames : 0u);
        EXPECT_EQ(r.StepCount(), c.code == AniOk ? 2 : 0);
    }
}

// The steps are bounded as the frames are: a `rate` and `seq ` list (or a
// header without them, over a file large enough) of more steps than the
// limit is refused before anything is made for them.
TEST(AniWalk, RefusesMoreStepsThanTheLimit)
{
    const uint32_t limit = static_cast<uint32_t>(kMaxStepsPerFile);
    auto entries = [](uint32_t n) { return Bytes(size_t(n) * 4, '\0'); };
    struct Case {
        const char* what;
        Bytes file;
        int code;
    };
    const Case cases[] = {
        {"rate and seq at the limit",
         Riff(Anih(limit, 3, 5) + Chunk("rate", entries(limit)) + Chunk("seq ", entries(limit)) +
              FrameList(ThreeFrames())),
         AniOk},
        {"rate one over", Riff(Anih(limit + 1, 3, 5) + Chunk("rate", entries(limit + 1)) + FrameList(ThreeFrames())),
         AniTooManySteps},
        {"seq one over", Riff(Anih(limit + 1, 3, 5) + Chunk("seq ", entries(limit + 1)) + FrameList(ThreeFrames())),
         AniTooManySteps},
        {"a header's claim over a large file",
         Riff(Anih(32u << 20, 3, 5) + Chunk("junk", entries(limit + 8)) + FrameList(ThreeFrames())), AniTooManySteps},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const AniWalkResult r = Walk(c.file);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.StepCount(), c.code == AniOk ? int(limit) : 0);
        EXPECT_EQ(r.frames.empty(), c.code != AniOk);
    }
}
