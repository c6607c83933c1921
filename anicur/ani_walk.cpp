#include "anicur/ani_walk.h"

#include "anicur/byte_reader.h"

#include <algorithm>
#include <climits>

namespace anicur {
namespace {

constexpr size_t ChunkHeader = 8; // identifier and 32-bit length
constexpr size_t AniHeaderSize = 36;

// A chunk's content as far as the buffer holds it.
struct Span {
    size_t offset = 0;
    size_t length = 0;
    bool found = false;
};

// How likely it is that a chunk starts at `pos` (below `limit`): the end of
// the enclosing data is a clean stop, a known identifier is best, four
// printable characters are what every chunk identifier is made of.
int ChunkStartScore(const uint8_t* data, size_t pos, size_t limit)
{
    if (pos == limit)
        return 2;
    if (pos > limit || limit - pos < ChunkHeader)
        return 0;
    const uint8_t* id = data + pos;
    if (IdIs(id, "icon") || IdIs(id, "anih") || IdIs(id, "rate") || IdIs(id, "seq ") ||
        IdIs(id, "LIST"))
        return 3;
    for (int i = 0; i < 4; ++i)
        if (id[i] < 0x20 || id[i] > 0x7E)
            return 0;
    return 2;
}

// Where the chunk after the one whose content ends at `after` starts. RIFF
// pads an odd-length chunk with one byte, but some writers leave the pad
// byte out: look at both places and take the one where a chunk stands,
// preferring the padded one when both (or neither) look right.
size_t NextChunk(const uint8_t* data, size_t after, uint32_t length, size_t limit)
{
    if ((length & 1) == 0 || after >= limit)
        return after;
    const size_t padded = after + 1;
    if (ChunkStartScore(data, after, limit) > ChunkStartScore(data, padded, limit))
        return after;
    return padded;
}

int ClampToInt(uint32_t v)
{
    return v > static_cast<uint32_t>(INT_MAX) ? INT_MAX : static_cast<int>(v);
}

// Reads the `icon` chunks of the `fram` list whose content is
// [begin, declaredEnd). Returns where the list really ends: writers have been
// seen to give a list length that stops short of the last frame; a frame that
// starts inside the list and lies inside the file is still taken, as the
// system's own loader does.
size_t ReadFrames(const uint8_t* data, size_t size, size_t begin, size_t declaredEnd,
                  std::vector<ByteRange>& frames, bool& cut)
{
    size_t end = declaredEnd;
    size_t pos = begin;
    while (pos < end && size - pos >= ChunkHeader) {
        const uint32_t length = ReadU32(data + pos + 4);
        const size_t content = pos + ChunkHeader;
        if (length > size - content) {
            cut = true;
            break; // a frame cut off by the end of the file is no frame
        }
        const size_t after = content + length;
        const bool icon = IdIs(data + pos, "icon");
        if (after > end) {
            if (!icon)
                break;
            end = after;
        }
        if (icon) {
            frames.push_back({content, length});
            if (frames.size() > kMaxFramesPerFile)
                break; // one too many is enough to refuse the file
        }
        pos = NextChunk(data, after, length, end);
    }
    return end;
}

} // namespace

AniWalkResult AniWalk(const uint8_t* data, size_t size)
{
    AniWalkResult r;
    if (size < 12 || !IdIs(data, "RIFF") || !IdIs(data + 8, "ACON")) {
        r.code = AniNotAnimated;
        return r;
    }

    // The RIFF length is not trusted (writers put the file size or 0 there):
    // the chunks run to the end of the file. Each chunk is taken by its
    // identifier wherever it stands; the first of each kind counts.
    Span anih, rate, seq;
    bool haveFrameList = false;
    size_t pos = 12;
    while (size - pos >= ChunkHeader) {
        const uint8_t* id = data + pos;
        const uint32_t length = ReadU32(id + 4);
        const size_t content = pos + ChunkHeader;
        const bool truncated = length > size - content;
        const size_t held = truncated ? size - content : length;
        size_t after = content + held;

        auto take = [&](Span& s) {
            if (!s.found)
                s = {content, held, true};
            else
                r.repeated = true;
        };
        if (IdIs(id, "anih"))
            take(anih);
        else if (IdIs(id, "rate"))
            take(rate);
        else if (IdIs(id, "seq "))
            take(seq);
        else if (IdIs(id, "LIST") && held >= 4 && IdIs(data + content, "fram") && haveFrameList)
            r.repeated = true;
        else if (IdIs(id, "LIST") && held >= 4 && IdIs(data + content, "fram")) {
            haveFrameList = true;
            after = ReadFrames(data, size, content + 4, after, r.frames, r.cut);
        }
        r.cut = r.cut || truncated;
        if (truncated || after >= size)
            break;
        const uint32_t walked = static_cast<uint32_t>(std::min<size_t>(after - content, UINT32_MAX));
        pos = NextChunk(data, after, walked, size);
    }

    if (!anih.found || anih.length < AniHeaderSize) {
        r.code = AniNoHeader;
        r.frames.clear();
        return r;
    }
    r.headerFrames = ReadU32(data + anih.offset + 4);
    const uint32_t headerSteps = ReadU32(data + anih.offset + 8);
    const uint32_t defaultRate = ReadU32(data + anih.offset + 28);
    if (rate.found && rate.length / 4 != headerSteps) {
        r.code = AniRateCount;
        r.frames.clear();
        return r;
    }
    if (seq.found && seq.length / 4 != headerSteps) {
        r.code = AniSequenceCount;
        r.frames.clear();
        return r;
    }
    if (r.frames.size() > kMaxFramesPerFile) {
        r.code = AniTooManyFrames;
        r.frames.clear();
        return r;
    }
    if (!haveFrameList) {
        r.code = AniNoFrameList;
        return r;
    }

    // With a `rate` or `seq ` chunk the step count is backed by its entries.
    // Without either, nothing in the file backs it: a header may claim four
    // billion steps. Allow no more than such a chunk could hold in this file.
    size_t steps = headerSteps;
    if (!rate.found && !seq.found)
        steps = std::min(steps, size / 4);
    // Without frames there is nothing to show at any step.
    if (r.frames.empty())
        steps = 0;
    if (steps > kMaxStepsPerFile) {
        r.code = AniTooManySteps;
        r.frames.clear();
        return r;
    }
    r.clamped = steps != headerSteps;

    const size_t lastFrame = r.frames.empty() ? 0 : r.frames.size() - 1;
    r.rates.resize(steps);
    r.sequence.resize(steps);
    for (size_t i = 0; i < steps; ++i) {
        r.rates[i] = ClampToInt(rate.found ? ReadU32(data + rate.offset + 4 * i) : defaultRate);
        // A step that names a frame the file does not hold shows the last one.
        const size_t frame = seq.found ? ReadU32(data + seq.offset + 4 * i) : i;
        r.clamped = r.clamped || frame > lastFrame;
        r.sequence[i] = static_cast<int>(std::min(frame, lastFrame));
    }
    r.code = AniOk;
    return r;
}

} // namespace anicur
