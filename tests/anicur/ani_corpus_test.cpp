// The walk, the image choice and the gate of the system's loader on the real
// cursor files of tests/data, whole, cut short at every length and with
// single bytes changed.
#include "anicur/ani_walk.h"
#include "anicur/cursor_check.h"
#include "anicur/icon_dir.h"

#include "corpus_table.h"
#include "test_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

using namespace anicur;
using namespace anitest;
namespace fs = std::filesystem;

namespace {

struct CorpusFile {
    std::string name; // below the corpus folder, with forward slashes
    std::string bytes;
};

const std::vector<CorpusFile>& Corpus()
{
    static const std::vector<CorpusFile> files = [] {
        std::vector<CorpusFile> out;
        const fs::path root(TARIMOKU_CORPUS);
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            if (!entry.is_regular_file() || entry.path().filename() == "SOURCES.md")
                continue;
            out.push_back({fs::relative(entry.path(), root).generic_string(), ReadFileBytes(entry.path().string())});
        }
        std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
        return out;
    }();
    return files;
}

// What must hold for any input: nothing names bytes outside the buffer or a
// frame that does not exist. Returns a description of the first fault.
std::string Fault(const AniWalkResult& r, size_t size)
{
    if (r.code != AniOk)
        return r.frames.empty() && r.sequence.empty() ? "" : "data with a failure code";
    if (r.sequence.size() != r.rates.size())
        return "sequence and rates differ in length";
    if (r.frames.empty() && !r.sequence.empty())
        return "steps without frames";
    for (const ByteRange& f : r.frames)
        if (f.offset < 12 || f.offset > size || f.length > size - f.offset)
            return "frame outside the data";
    for (size_t i = 0; i < r.sequence.size(); ++i)
        if (r.sequence[i] < 0 || static_cast<size_t>(r.sequence[i]) >= r.frames.size() || r.rates[i] < 0)
            return "step " + std::to_string(i) + " out of range";
    return "";
}

// Walks `size` bytes at `data` and chooses an image in every frame.
std::string WalkAndChoose(const uint8_t* data, size_t size)
{
    const AniWalkResult r = AniWalk(data, size);
    std::string fault = Fault(r, size);
    if (!fault.empty())
        return fault;
    for (const ByteRange& f : r.frames)
        if (const auto image = ChooseIconImage(data + f.offset, f.length))
            if (image->offset > f.length || image->length > f.length - image->offset)
                return "image outside its frame";
    return "";
}

} // namespace

TEST(AniWalkCorpus, EveryAnimatedFileMatchesItsOwnData)
{
    std::map<std::string, const CorpusAnimation*> expected;
    for (const CorpusAnimation& a : CorpusAnimations())
        expected[a.path] = &a;
    int animated = 0, statics = 0;
    for (const CorpusFile& file : Corpus()) {
        SCOPED_TRACE(file.name);
        HeapBytes heap(file.bytes);
        // Every real cursor may go to the system's loader, but the crafted
        // one whose frame list is short and whose header comes twice.
        EXPECT_EQ(IsWholeCursorImage(heap.data(), heap.size()), file.name.find("/fail/") == std::string::npos);
        const AniWalkResult r = AniWalk(heap.data(), heap.size());
        if (!IsAnimatedCursor(file.bytes)) {
            EXPECT_EQ(r.code, AniNotAnimated);
            ++statics;
            continue;
        }
        ++animated;
        ASSERT_TRUE(expected.count(file.name)) << "not in the table";
        const CorpusAnimation& want = *expected[file.name];
        ASSERT_EQ(r.code, AniOk);
        EXPECT_EQ(static_cast<int>(r.frames.size()), want.frames);
        EXPECT_EQ(r.StepCount(), want.steps);
        EXPECT_EQ(r.rates, want.rates);
        EXPECT_EQ(r.sequence, want.sequence);
        // Every frame holds an image that can be chosen.
        for (size_t i = 0; i < r.frames.size(); ++i)
            EXPECT_TRUE(ChooseIconImage(heap.data() + r.frames[i].offset, r.frames[i].length)) << "frame " << i;
    }
    EXPECT_EQ(animated, 17);
    EXPECT_EQ(static_cast<size_t>(animated), CorpusAnimations().size());
    EXPECT_EQ(statics, 64);
}

TEST(AniWalkCorpus, EveryStaticCursorHasAChoosableImage)
{
    // A static cursor file is what a frame holds: 1-bit DIBs and PNG sets
    // included.
    for (const CorpusFile& file : Corpus()) {
        if (IsAnimatedCursor(file.bytes))
            continue;
        HeapBytes heap(file.bytes);
        const auto image = ChooseIconImage(heap.data(), heap.size());
        ASSERT_TRUE(image) << file.name;
        EXPECT_TRUE(image->cursor) << file.name;
    }
}

TEST(AniWalkCorpus, EveryPrefixIsSafe)
{
    for (const CorpusFile& file : Corpus()) {
        const size_t size = file.bytes.size();
        // Every length at the start, then a stride through the rest that
        // meets both even and odd lengths.
        const size_t dense = std::min<size_t>(size, 3000);
        const size_t stride = std::max<size_t>(1, size / 300);
        std::vector<size_t> lengths;
        for (size_t n = 0; n <= dense; ++n)
            lengths.push_back(n);
        for (size_t n = dense; n < size; n += stride + (n & 1))
            lengths.push_back(n);
        // Cut inside its header, at the lengths the system's loader was seen
        // to fall over, half way and one byte short: none is whole.
        const std::set<size_t> cut = {0, 6, 12, 80, 100, size / 2, size - 1};
        lengths.insert(lengths.end(), cut.begin(), cut.end());
        lengths.push_back(size);
        for (size_t n : lengths) {
            HeapBytes heap(file.bytes, n);
            const std::string fault = WalkAndChoose(heap.data(), heap.size());
            if (!fault.empty()) {
                ADD_FAILURE() << file.name << " cut to " << n << ": " << fault;
                break;
            }
            if (n < size && cut.count(n)) {
                EXPECT_FALSE(IsWholeCursorImage(heap.data(), heap.size())) << file.name << " cut to " << n;
            }
        }
    }
}

TEST(AniWalkCorpus, EverySingleByteChangeIsSafe)
{
    for (const CorpusFile& file : Corpus()) {
        HeapBytes heap(file.bytes);
        const size_t size = heap.size();
        const size_t dense = std::min<size_t>(size, 1500);
        const size_t stride = std::max<size_t>(1, size / 200);
        std::vector<size_t> positions;
        for (size_t p = 0; p < dense; ++p)
            positions.push_back(p);
        for (size_t p = dense; p < size; p += stride)
            positions.push_back(p);
        bool failed = false;
        for (size_t p : positions) {
            const uint8_t original = heap.data()[p];
            for (uint8_t changed : {uint8_t{0x00}, uint8_t{0xFF}, static_cast<uint8_t>(original ^ 0x01)}) {
                heap.data()[p] = changed;
                const std::string fault = WalkAndChoose(heap.data(), size);
                if (!fault.empty() && !failed) {
                    ADD_FAILURE() << file.name << " byte " << p << " = " << int(changed) << ": " << fault;
                    failed = true;
                }
            }
            heap.data()[p] = original;
        }
    }
}
