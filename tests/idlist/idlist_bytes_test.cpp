// Every list lives in a heap block of exactly its size, so the sanitizer sees
// any read past the terminator.
#include "idlist/idlist_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

using idlist::idbytes::Byte;
namespace ib = idlist::idbytes;

struct Block {
    std::unique_ptr<Byte[]> bytes;
    std::size_t size = 0;
    const Byte* get() const { return bytes.get(); }
};

// A list of items with the given counts; each item's payload is its index + 1.
Block MakeList(const std::vector<std::uint16_t>& counts)
{
    std::size_t size = 2;
    for (auto cb : counts)
        size += cb;
    Block b{std::make_unique<Byte[]>(size), size};
    Byte* at = b.bytes.get();
    for (std::size_t i = 0; i < counts.size(); ++i) {
        at[0] = Byte(counts[i] & 0xFF);
        at[1] = Byte(counts[i] >> 8);
        for (std::size_t k = 2; k < counts[i]; ++k)
            at[k] = Byte(i + 1);
        at += counts[i];
    }
    at[0] = at[1] = 0;
    return b;
}

TEST(IDListBytes, SizeAndCountOfNoneEmptyAndItems)
{
    EXPECT_EQ(ib::Size(nullptr), 0u);
    EXPECT_EQ(ib::Count(nullptr), 0u);
    Block empty = MakeList({});
    EXPECT_EQ(ib::Size(empty.get()), 2u);
    EXPECT_EQ(ib::Count(empty.get()), 0u);
    Block two = MakeList({20, 14});
    EXPECT_EQ(ib::Size(two.get()), 36u);
    EXPECT_EQ(ib::Count(two.get()), 2u);
    // Odd counts leave later items unaligned.
    Block odd = MakeList({3, 5, 0x1FF});
    EXPECT_EQ(ib::Size(odd.get()), 2u + 3 + 5 + 0x1FF);
    EXPECT_EQ(ib::Count(odd.get()), 3u);
}

TEST(IDListBytes, SkipAndRestOfNoneEmptyOneAndMoreItems)
{
    EXPECT_EQ(ib::Skip(nullptr), nullptr);
    EXPECT_EQ(ib::Rest(nullptr), nullptr);
    Block empty = MakeList({});
    EXPECT_EQ(ib::Skip(empty.get()), empty.get());
    EXPECT_EQ(ib::Rest(empty.get()), nullptr);
    Block one = MakeList({6});
    EXPECT_EQ(ib::Rest(one.get()), nullptr);
    Block three = MakeList({3, 5, 7});
    EXPECT_EQ(ib::Skip(three.get()), three.get() + 3);
    const Byte* second = ib::Rest(three.get());
    ASSERT_EQ(second, three.get() + 3);
    const Byte* third = ib::Rest(second);
    ASSERT_EQ(third, three.get() + 8);
    EXPECT_EQ(ib::Rest(third), nullptr);
}

TEST(IDListBytes, LastItemAndParentBytes)
{
    EXPECT_EQ(ib::LastItem(nullptr), nullptr);
    EXPECT_EQ(ib::ParentBytes(nullptr), 0u);
    Block empty = MakeList({});
    EXPECT_EQ(ib::LastItem(empty.get()), empty.get());
    EXPECT_EQ(ib::ParentBytes(empty.get()), 0u);
    Block one = MakeList({6});
    EXPECT_EQ(ib::LastItem(one.get()), one.get());
    EXPECT_EQ(ib::ParentBytes(one.get()), 0u);
    Block two = MakeList({20, 14});
    EXPECT_EQ(ib::LastItem(two.get()), two.get() + 20);
    EXPECT_EQ(ib::ParentBytes(two.get()), 20u);
    Block three = MakeList({3, 5, 7});
    EXPECT_EQ(ib::ParentBytes(three.get()), 8u);
}

std::vector<Byte> Combined(const Byte* p, const Byte* q)
{
    std::size_t n = ib::CombinedBytes(p, q);
    auto out = std::make_unique<Byte[]>(n);
    std::fill_n(out.get(), n, Byte(0xCD));
    ib::WriteCombined(out.get(), p, q);
    return std::vector<Byte>(out.get(), out.get() + n);
}

TEST(IDListBytes, CombineWithNoneOnEitherSide)
{
    EXPECT_EQ(Combined(nullptr, nullptr), (std::vector<Byte>{0, 0}));

    Block p = MakeList({4, 3});
    std::vector<Byte> pBytes(p.get(), p.get() + p.size);
    // p then nothing: exactly a copy of p.
    EXPECT_EQ(Combined(p.get(), nullptr), pBytes);
    // Nothing then q: q with its terminator, then the extra zero count.
    std::vector<Byte> qCopy = pBytes;
    qCopy.insert(qCopy.end(), {0, 0});
    EXPECT_EQ(Combined(nullptr, p.get()), qCopy);

    Block empty = MakeList({});
    EXPECT_EQ(Combined(empty.get(), empty.get()), (std::vector<Byte>{0, 0, 0, 0}));
}

// Every operation over lists of many shapes, each in an exact-size block:
// the sanitizer reports any byte read past the terminator.
TEST(IDListBytes, NoReadPastTheTerminatorForAnyShape)
{
    for (std::size_t n = 0; n <= 5; ++n) {
        for (std::uint16_t base : {std::uint16_t(2), std::uint16_t(3), std::uint16_t(17), std::uint16_t(300)}) {
            std::vector<std::uint16_t> counts;
            std::size_t total = 0;
            for (std::size_t i = 0; i < n; ++i) {
                counts.push_back(std::uint16_t(base + i));
                total += base + i;
            }
            Block b = MakeList(counts);
            EXPECT_EQ(ib::Size(b.get()), total + 2);
            EXPECT_EQ(ib::Count(b.get()), n);
            std::size_t walked = 0;
            const Byte* at = n ? b.get() : nullptr;
            for (; at; at = ib::Rest(at))
                ++walked;
            EXPECT_EQ(walked, n);
            EXPECT_EQ(ib::ParentBytes(b.get()), n > 1 ? total - counts.back() : 0);
            std::vector<Byte> both = Combined(b.get(), b.get());
            EXPECT_EQ(ib::Count(both.data()), 2 * n);
        }
    }
}

} // namespace
