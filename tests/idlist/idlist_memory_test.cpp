// The owner and the list operations, with every block counted by a test
// allocator put in the shell allocator's place.
#include <gtest/gtest.h>

#include <type_traits>
#include <vector>

#include "idlist/idlist.h"
#include "tests/support/counting_malloc.h"
#include "tests/support/fake_folder.h"

namespace {

using testsupport::BytesOf;
using testsupport::MakeList;
using idlist::AbsoluteIDList;
using idlist::ChildIDList;
using idlist::RelativeIDList;

// Absolute lists for the operations that take one.
AbsoluteIDList MakeAbsolute(const std::vector<USHORT>& counts, BYTE seed = 0)
{
    return MakeList<ITEMIDLIST_ABSOLUTE>(counts, seed);
}

class IDListMemory : public testing::Test {
protected:
    void TearDown() override
    {
        EXPECT_EQ(malloc.Live(), 0u) << "blocks left unfreed";
        EXPECT_EQ(malloc.foreignFrees, 0);
    }
    idlist::ShellModule module;
    testsupport::CountingMalloc malloc;
    idlist::ScopedShellObjects scope{&malloc, nullptr};
};

TEST_F(IDListMemory, AllocGivesZeroedBlockOfExactSize)
{
    RelativeIDList block = idlist::IDListAlloc(9);
    ASSERT_TRUE(block);
    EXPECT_EQ(malloc.allocs, 1);
    EXPECT_EQ(malloc.GetSize(block.get()), 9u);
    auto* bytes = reinterpret_cast<const BYTE*>(block.get());
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(bytes[i], 0) << i;

    malloc.failAlloc = true;
    EXPECT_FALSE(idlist::IDListAlloc(4));
    EXPECT_FALSE(idlist::IDListCombine(nullptr, nullptr));
    EXPECT_FALSE(idlist::IDListFirst(block.get()));
}

TEST_F(IDListMemory, OwnerFreesOnceAndMovesWithoutFreeing)
{
    {
        RelativeIDList a = MakeList({4});
        PIDLIST_RELATIVE raw = a.get();
        RelativeIDList b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(b.get(), raw);
        RelativeIDList c;
        c = std::move(b);
        EXPECT_EQ(c.get(), raw);
        EXPECT_EQ(malloc.frees, 0);
    }
    EXPECT_EQ(malloc.frees, 1);

    // Move-assigning over a list frees the old one at once.
    RelativeIDList target = MakeList({4});
    PIDLIST_RELATIVE old = target.get();
    target = MakeList({6});
    EXPECT_EQ(malloc.frees, 2);
    EXPECT_FALSE(malloc.Owns(old));
    target = std::move(target);
    EXPECT_TRUE(target);
    EXPECT_EQ(malloc.frees, 2);
}

TEST_F(IDListMemory, ReleaseHandsOverAndResetAndPutFree)
{
    RelativeIDList list = MakeList({4});
    PIDLIST_RELATIVE raw = list.release();
    EXPECT_FALSE(list);
    EXPECT_TRUE(malloc.Owns(raw));
    RelativeIDList adopted = RelativeIDList::Adopt(raw);
    EXPECT_EQ(adopted.get(), raw);
    adopted.reset(MakeList({8}).release());
    EXPECT_FALSE(malloc.Owns(raw));
    PIDLIST_RELATIVE* slot = adopted.put();
    EXPECT_EQ(malloc.Live(), 0u);
    EXPECT_EQ(*slot, nullptr);
    *slot = MakeList({2 + 2}).release();
    EXPECT_TRUE(adopted);

    idlist::IDListFree(nullptr);
    idlist::IDListFree(adopted.release());
    EXPECT_EQ(malloc.frees, malloc.allocs);
}

TEST_F(IDListMemory, CombineFreeConsumesBothInputs)
{
    AbsoluteIDList p = MakeAbsolute({4, 3});
    RelativeIDList q = MakeList({5});
    AbsoluteIDList both = idlist::IDListCombineFree(std::move(p), std::move(q));
    EXPECT_FALSE(p);
    EXPECT_FALSE(q);
    ASSERT_TRUE(both);
    EXPECT_EQ(malloc.Live(), 1u);
    EXPECT_EQ(idlist::IDListCount(both.get()), 3u);

    // Prepending item after item, as the views pack a selection.
    RelativeIDList packed;
    for (BYTE seed : {10, 20, 30})
        packed = idlist::IDListCombineRelativeFree(MakeList({3}, seed), std::move(packed));
    EXPECT_EQ(idlist::IDListCount(packed.get()), 3u);
    EXPECT_EQ(BytesOf(packed.get()), (std::vector<BYTE>{3, 0, 31, 3, 0, 21, 3, 0, 11, 0, 0}));
    EXPECT_EQ(malloc.Live(), 2u);

    // Inputs are freed even when the allocation fails.
    malloc.failAlloc = true;
    EXPECT_FALSE(idlist::IDListCombineFree(std::move(both), std::move(packed)));
    EXPECT_EQ(malloc.Live(), 0u);
}

TEST_F(IDListMemory, CombineWithNoneOnEitherSide)
{
    AbsoluteIDList none = idlist::IDListCombine(nullptr, nullptr);
    ASSERT_TRUE(none);
    EXPECT_EQ(malloc.GetSize(none.get()), 2u);
    EXPECT_EQ(BytesOf(none.get()), (std::vector<BYTE>{0, 0}));

    AbsoluteIDList p = MakeAbsolute({4, 3});
    AbsoluteIDList left = idlist::IDListCombine(p.get(), nullptr);
    EXPECT_NE(left.get(), p.get());
    EXPECT_EQ(BytesOf(left.get()), BytesOf(p.get()));
    AbsoluteIDList right = idlist::IDListCombine(nullptr, p.get());
    EXPECT_NE(right.get(), p.get());
    EXPECT_EQ(BytesOf(right.get()), BytesOf(p.get()));

    RelativeIDList q = MakeList({5}, 7);
    AbsoluteIDList pq = idlist::IDListCombine(p.get(), q.get());
    std::vector<BYTE> expected = BytesOf(p.get());
    expected.resize(expected.size() - 2);
    for (BYTE b : BytesOf(q.get()))
        expected.push_back(b);
    EXPECT_EQ(BytesOf(pq.get()), expected);
    // Neither input is changed.
    EXPECT_EQ(BytesOf(q.get()), (std::vector<BYTE>{5, 0, 8, 8, 8, 0, 0}));
}

TEST_F(IDListMemory, FirstLastRestParentOfEmptyOneAndTwoItems)
{
    EXPECT_FALSE(idlist::IDListFirst(nullptr));
    EXPECT_FALSE(idlist::IDListLast(nullptr));
    EXPECT_FALSE(idlist::IDListParent(nullptr));
    EXPECT_EQ(idlist::IDListRest(nullptr), nullptr);

    AbsoluteIDList empty = MakeAbsolute({});
    ChildIDList first = idlist::IDListFirst(empty.get());
    ChildIDList last = idlist::IDListLast(empty.get());
    ASSERT_TRUE(first && last);
    EXPECT_NE(static_cast<const void*>(first.get()), static_cast<const void*>(empty.get()));
    EXPECT_EQ(BytesOf(first.get()), (std::vector<BYTE>{0, 0}));
    EXPECT_EQ(BytesOf(last.get()), (std::vector<BYTE>{0, 0}));
    EXPECT_EQ(idlist::IDListRest(empty.get()), nullptr);
    EXPECT_FALSE(idlist::IDListParent(empty.get()));

    AbsoluteIDList one = MakeAbsolute({5});
    ChildIDList oneFirst = idlist::IDListFirst(one.get());
    ChildIDList oneLast = idlist::IDListLast(one.get());
    EXPECT_EQ(BytesOf(oneFirst.get()), BytesOf(one.get()));
    EXPECT_EQ(BytesOf(oneLast.get()), BytesOf(one.get()));
    EXPECT_EQ(malloc.GetSize(oneFirst.get()), 7u);
    EXPECT_EQ(idlist::IDListRest(one.get()), nullptr);
    EXPECT_FALSE(idlist::IDListParent(one.get()));

    AbsoluteIDList two = MakeAbsolute({4, 3});
    EXPECT_EQ(BytesOf(idlist::IDListFirst(two.get()).get()), (std::vector<BYTE>{4, 0, 1, 1, 0, 0}));
    EXPECT_EQ(BytesOf(idlist::IDListLast(two.get()).get()), (std::vector<BYTE>{3, 0, 2, 0, 0}));
    EXPECT_EQ(BytesOf(idlist::IDListParent(two.get()).get()), (std::vector<BYTE>{4, 0, 1, 1, 0, 0}));
    PCUIDLIST_RELATIVE rest = idlist::IDListRest(two.get());
    EXPECT_EQ(reinterpret_cast<const BYTE*>(rest), reinterpret_cast<const BYTE*>(two.get()) + 4);
    EXPECT_EQ(idlist::IDListRest(rest), nullptr);

    AbsoluteIDList three = MakeAbsolute({4, 3, 6});
    EXPECT_EQ(BytesOf(idlist::IDListParent(three.get()).get()),
              (std::vector<BYTE>{4, 0, 1, 1, 3, 0, 2, 0, 0}));
    EXPECT_EQ(BytesOf(idlist::IDListLast(three.get()).get()), (std::vector<BYTE>{6, 0, 3, 3, 3, 3, 0, 0}));
}

// A list changes kind only where a caller says so: a child or an absolute
// list moves into a relative owner, never back and never across.
static_assert(std::is_constructible_v<RelativeIDList, ChildIDList&&>);
static_assert(std::is_constructible_v<RelativeIDList, AbsoluteIDList&&>);
static_assert(!std::is_constructible_v<ChildIDList, RelativeIDList&&>);
static_assert(!std::is_constructible_v<AbsoluteIDList, RelativeIDList&&>);
static_assert(!std::is_constructible_v<ChildIDList, AbsoluteIDList&&>);
static_assert(!std::is_constructible_v<AbsoluteIDList, ChildIDList&&>);

TEST_F(IDListMemory, TypedSplitsCombineBackIntoTheList)
{
    // Parent + last and first + rest give the list back, for every length;
    // the relative combine writes what the absolute one does; copies are new
    // blocks of the same bytes.
    for (const std::vector<USHORT>& counts : std::vector<std::vector<USHORT>>{{}, {5}, {4, 3}, {4, 3, 6}}) {
        AbsoluteIDList list = MakeAbsolute(counts, 40);
        std::vector<BYTE> bytes = BytesOf(list.get());
        AbsoluteIDList parent = idlist::IDListParent(list.get());
        ChildIDList last = idlist::IDListLast(list.get());
        EXPECT_EQ(BytesOf(idlist::IDListCombine(parent.get(), last.get()).get()), bytes) << counts.size();
        ChildIDList first = idlist::IDListFirst(list.get());
        PCUIDLIST_RELATIVE rest = idlist::IDListRest(list.get());
        EXPECT_EQ(BytesOf(idlist::IDListCombineRelative(first.get(), rest).get()), bytes) << counts.size();
        EXPECT_EQ(BytesOf(idlist::IDListCombineRelative(parent.get(), last.get()).get()), bytes) << counts.size();
        AbsoluteIDList copy = idlist::IDListCopy(list.get());
        EXPECT_NE(copy.get(), list.get());
        EXPECT_EQ(BytesOf(copy.get()), bytes) << counts.size();
    }
    EXPECT_FALSE(idlist::IDListCopy<ITEMID_CHILD>(nullptr));

    // A child moved into a relative owner is freed once, by that owner.
    int frees = malloc.frees;
    {
        ChildIDList child = MakeList<ITEMID_CHILD>({5});
        RelativeIDList wider = std::move(child);
        EXPECT_FALSE(child);
        EXPECT_TRUE(wider);
    }
    EXPECT_EQ(malloc.frees, frees + 1);
}

} // namespace
