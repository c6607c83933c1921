// Ordering, names, parsing and binding against test folders whose answers are
// set by each test: the answer kinds and failures Wine's shell never gives.
#include <gtest/gtest.h>

#include <cstring>

#include "idlist/idlist.h"
#include "tests/support/counting_malloc.h"
#include "tests/support/fake_folder.h"

namespace {

using testsupport::FakeFolder;
using testsupport::MakeList;
using idlist::AbsoluteIDList;
using idlist::ChildIDList;
using idlist::RelativeIDList;

class IDListFolder : public testing::Test {
protected:
    void TearDown() override
    {
        EXPECT_EQ(malloc.Live(), 0u) << "blocks left unfreed";
        EXPECT_EQ(malloc.foreignFrees, 0);
    }
    idlist::ShellModule module;
    testsupport::CountingMalloc malloc;
    FakeFolder folder;
    idlist::ScopedShellObjects scope{&malloc, &folder};
};

// A one-item identifier whose payload holds `text` and a zero byte after
// `lead` filler bytes.
ChildIDList ItemWithText(const char* text, int lead = 2)
{
    USHORT cb = USHORT(2 + lead + std::strlen(text) + 1);
    ChildIDList item = MakeList<ITEMID_CHILD>({cb});
    auto* bytes = reinterpret_cast<BYTE*>(item.get());
    std::memcpy(bytes + 2 + lead, text, std::strlen(text) + 1);
    return item;
}

TEST_F(IDListFolder, OffsetAnswerIsReadInsideTheIdentifierGiven)
{
    folder.displayName = [](PCUITEMID_CHILD, SHGDNF, STRRET* name) {
        name->uType = STRRET_OFFSET;
        name->uOffset = 4;
        return S_OK;
    };
    ChildIDList alpha = ItemWithText("alpha.cur");
    ChildIDList beta = ItemWithText("beta.ani");
    std::wstring text;
    EXPECT_TRUE(idlist::IDListDisplayName(&folder, alpha.get(), SHGDN_INFOLDER, text));
    EXPECT_EQ(text, L"alpha.cur");
    EXPECT_EQ(folder.lastNamed, alpha.get());
    EXPECT_EQ(idlist::IDListDisplayName(&folder, beta.get(), SHGDN_NORMAL), L"beta.ani");
    EXPECT_EQ(folder.lastNamed, beta.get());

    // An absolute identifier is named by the desktop, the list itself given.
    AbsoluteIDList absolute = idlist::IDListCombine(nullptr, alpha.get());
    EXPECT_EQ(idlist::IDListDisplayName(absolute.get(), SHGDN_FORPARSING), L"alpha.cur");
    EXPECT_EQ(static_cast<const void*>(folder.lastNamed), static_cast<const void*>(absolute.get()));
}

TEST_F(IDListFolder, OffsetAnswerStopsAtTheIdentifierEnd)
{
    UINT offset = 0;
    folder.displayName = [&offset](PCUITEMID_CHILD, SHGDNF, STRRET* name) {
        name->uType = STRRET_OFFSET;
        name->uOffset = offset;
        return S_OK;
    };
    // No zero byte in the payload: the text ends at the terminator.
    ChildIDList item = MakeList<ITEMID_CHILD>({6});
    std::memcpy(reinterpret_cast<BYTE*>(item.get()) + 2, "abcd", 4);
    offset = 2;
    EXPECT_EQ(idlist::IDListDisplayName(&folder, item.get(), 0), L"abcd");
    // Pointing at the terminator: an empty name.
    offset = 6;
    std::wstring text = L"old";
    EXPECT_TRUE(idlist::IDListDisplayName(&folder, item.get(), 0, text));
    EXPECT_EQ(text, L"");
    // Outside the identifier: refused.
    offset = 8;
    text = L"old";
    EXPECT_FALSE(idlist::IDListDisplayName(&folder, item.get(), 0, text));
    EXPECT_EQ(text, L"");
}

TEST_F(IDListFolder, CStrAnswerUpToItsZeroOr260Bytes)
{
    const char* answer = "name.cur";
    bool full = false;
    folder.displayName = [&](PCUITEMID_CHILD, SHGDNF, STRRET* name) {
        name->uType = STRRET_CSTR;
        if (full)
            std::memset(name->cStr, 'x', sizeof name->cStr);
        else
            std::strcpy(name->cStr, answer);
        return S_OK;
    };
    ChildIDList item = MakeList<ITEMID_CHILD>({4});
    EXPECT_EQ(idlist::IDListDisplayName(&folder, item.get(), 0), L"name.cur");
    full = true;
    EXPECT_EQ(idlist::IDListDisplayName(&folder, item.get(), 0), std::wstring(260, L'x'));

    // Multi-byte text in the system code page (Shift-JIS under ja_JP).
    full = false;
    answer = "\x83\x65\x83\x58\x83\x67.ani";
    if (GetACP() == 932) {
        EXPECT_EQ(idlist::IDListDisplayName(&folder, item.get(), 0), L"\u30c6\u30b9\u30c8.ani");
    }
}

TEST_F(IDListFolder, WideAnswerIsTakenAndFreedThroughTheShellAllocator)
{
    folder.displayName = [this](PCUITEMID_CHILD, SHGDNF flags, STRRET* name) {
        const wchar_t* text = flags == SHGDN_FORPARSING ? L"C:\\\u30c6\\a.cur" : L"a.cur";
        std::size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
        name->uType = STRRET_WSTR;
        name->pOleStr = static_cast<LPWSTR>(malloc.Alloc(bytes));
        std::memcpy(name->pOleStr, text, bytes);
        return S_OK;
    };
    ChildIDList item = MakeList<ITEMID_CHILD>({4});
    EXPECT_EQ(idlist::IDListDisplayName(&folder, item.get(), SHGDN_FORPARSING), L"C:\\\u30c6\\a.cur");
    EXPECT_EQ(idlist::IDListDisplayName(&folder, item.get(), SHGDN_INFOLDER), L"a.cur");
    EXPECT_EQ(malloc.Live(), 1u); // only the item itself
}

TEST_F(IDListFolder, FailedOrUnknownAnswersGiveFailureAndEmptyText)
{
    HRESULT result = E_FAIL;
    UINT kind = STRRET_CSTR;
    folder.displayName = [&](PCUITEMID_CHILD, SHGDNF, STRRET* name) {
        name->uType = kind;
        std::strcpy(name->cStr, "junk");
        return result;
    };
    ChildIDList item = MakeList<ITEMID_CHILD>({4});
    for (HRESULT failing : {E_FAIL, E_INVALIDARG, S_FALSE}) {
        result = failing;
        std::wstring text = L"previous";
        EXPECT_FALSE(idlist::IDListDisplayName(&folder, item.get(), 0, text)) << std::hex << failing;
        EXPECT_EQ(text, L"");
    }
    result = S_OK;
    kind = 3;
    std::wstring text = L"previous";
    EXPECT_FALSE(idlist::IDListDisplayName(&folder, item.get(), 0, text));
    EXPECT_EQ(text, L"");

    // A folder that claims success without answering.
    folder.displayName = [](PCUITEMID_CHILD, SHGDNF, STRRET*) { return S_OK; };
    EXPECT_FALSE(idlist::IDListDisplayName(&folder, item.get(), 0, text));

    EXPECT_FALSE(idlist::IDListDisplayName(nullptr, item.get(), 0, text));
    EXPECT_FALSE(idlist::IDListDisplayName(&folder, nullptr, 0, text));
}

TEST_F(IDListFolder, CompareGivesMinusOneForEveryPairOnAFailingFolder)
{
    RelativeIDList a = MakeList({4}, 1), b = MakeList({4}, 2), c = MakeList({6}, 3);
    PCUIDLIST_RELATIVE items[] = {a.get(), b.get(), c.get()};
    for (HRESULT failing : {E_FAIL, E_INVALIDARG, E_NOTIMPL, HRESULT(0x8000FFFF)}) {
        folder.compareResult = failing;
        for (auto* p : items)
            for (auto* q : items)
                EXPECT_EQ(idlist::IDListCompare(&folder, p, q), -1) << std::hex << failing;
    }
    EXPECT_EQ(folder.compareCalls, 4 * 9);
    EXPECT_EQ(folder.lastCompareParam, 0);
    EXPECT_EQ(idlist::IDListCompare(nullptr, a.get(), b.get()), -1);
}

TEST_F(IDListFolder, CompareTakesLow16BitsAsSigned)
{
    RelativeIDList a = MakeList({4}, 1), b = MakeList({4}, 2);
    struct Case {
        HRESULT result;
        int expected;
    } cases[] = {
        {0x00000000, 0},      {0x00000001, 1},     {0x0000FFFF, -1},         {0x00007FFF, 32767},
        {0x00008000, -32768}, {0x00010002, 2},     {0x0003FFFE, -2},         {0x7FFF0000, 0},
    };
    for (const Case& c : cases) {
        folder.compareResult = c.result;
        EXPECT_EQ(idlist::IDListCompare(&folder, a.get(), b.get()), c.expected) << std::hex << c.result;
    }
}

TEST_F(IDListFolder, PathStartingWithSlashNeverReachesTheShell)
{
    for (const wchar_t* path : {L"/tmp", L"/", L"//server/share"})
        EXPECT_FALSE(idlist::IDListFromPath(path)) << path;
    EXPECT_TRUE(folder.parsed.empty());

    // Everything else goes to the desktop as it is.
    AbsoluteIDList parsed = idlist::IDListFromPath(L"C:\\windows");
    EXPECT_TRUE(parsed);
    AbsoluteIDList relative = idlist::IDListFromPath(L"sub\\x/y");
    EXPECT_TRUE(relative);
    ASSERT_EQ(folder.parsed.size(), 2u);
    EXPECT_EQ(folder.parsed[1], L"sub\\x/y");

    folder.parseResult = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(idlist::IDListFromPath(L"C:\\missing"));
}

TEST_F(IDListFolder, BindParentBindsItemByItemAndFailsCleanly)
{
    AbsoluteIDList three = MakeList<ITEMIDLIST_ABSOLUTE>({4, 5, 3});
    folder.bindResult = S_OK;
    ui::ComPtr<IShellFolder> parent;
    ChildIDList last;
    ASSERT_TRUE(idlist::IDListBindParent(three.get(), parent, last));
    EXPECT_EQ(parent.get(), static_cast<IShellFolder*>(&folder));
    EXPECT_EQ(testsupport::BytesOf(last.get()), (std::vector<BYTE>{3, 0, 3, 0, 0}));
    // Each step binds a one-item copy of that item.
    ASSERT_EQ(folder.bound.size(), 2u);
    EXPECT_EQ(folder.bound[0], (std::vector<BYTE>{4, 0, 1, 1, 0, 0}));
    EXPECT_EQ(folder.bound[1], (std::vector<BYTE>{5, 0, 2, 2, 2, 0, 0}));

    folder.bindResult = E_FAIL;
    EXPECT_FALSE(idlist::IDListBindParent(three.get(), parent, last));
    EXPECT_FALSE(parent);
    EXPECT_FALSE(last);

    // One item binds nothing: the desktop and a copy of the item.
    AbsoluteIDList one = MakeList<ITEMIDLIST_ABSOLUTE>({6});
    ASSERT_TRUE(idlist::IDListBindParent(one.get(), parent, last));
    EXPECT_EQ(parent.get(), idlist::DesktopFolder());
    EXPECT_EQ(testsupport::BytesOf(last.get()), testsupport::BytesOf(one.get()));
    // The empty list: the desktop and no item.
    AbsoluteIDList empty = MakeList<ITEMIDLIST_ABSOLUTE>({});
    ASSERT_TRUE(idlist::IDListBindParent(empty.get(), parent, last));
    EXPECT_EQ(parent.get(), idlist::DesktopFolder());
    EXPECT_FALSE(last);
    EXPECT_FALSE(idlist::IDListBindParent(nullptr, parent, last));
    EXPECT_FALSE(parent);
    EXPECT_EQ(folder.bound.size(), 3u);
}

TEST_F(IDListFolder, PackPathsFailsWithoutLeavingAnythingBehind)
{
    ui::ComPtr<IShellFolder> parent;
    RelativeIDList packed;
    folder.bindResult = S_OK;
    // The test desktop parses every text into a one-item list.
    ASSERT_TRUE(idlist::IDListPackPaths({L"a", L"b"}, parent, packed));
    EXPECT_EQ(idlist::IDListCount(packed.get()), 2u);
    EXPECT_EQ(parent.get(), static_cast<IShellFolder*>(&folder));

    EXPECT_FALSE(idlist::IDListPackPaths({}, parent, packed));
    EXPECT_FALSE(parent);
    EXPECT_FALSE(packed);
    EXPECT_FALSE(idlist::IDListPackPaths({L"a", L"/tmp", L"b"}, parent, packed));
    EXPECT_FALSE(packed);
    folder.parseResult = E_FAIL;
    EXPECT_FALSE(idlist::IDListPackPaths({L"a"}, parent, packed));
    EXPECT_FALSE(parent);
    EXPECT_FALSE(packed);
}

} // namespace
