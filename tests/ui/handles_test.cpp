// The owners of a memory device context and of a file search, and the guard of
// an object selected into a context: each ends what it holds exactly once,
// whether it is reset, assigned over, destroyed or moved on first.
#include "tests/support/wine_ui.h"
#include "ui/handles.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

namespace {

enum class End { Reset, AssignOver, Scope, MovedOn };

struct EndRow {
    const char* name;
    End end;
};

const EndRow kEnds[] = {
    {"reset", End::Reset},
    {"assigned over", End::AssignOver},
    {"left its scope", End::Scope},
    {"moved to another owner first", End::MovedOn},
};

bool Alive(HDC dc) { return GetObjectType(dc) == OBJ_MEMDC; }

TEST(MemoryDCOwner, DeletesItsContextOnceWhateverEndsIt)
{
    for (const EndRow& row : kEnds) {
        SCOPED_TRACE(row.name);
        HDC dc = CreateCompatibleDC(nullptr);
        ASSERT_TRUE(dc);
        {
            ui::UniqueMemoryDC owner(dc);
            ASSERT_TRUE(Alive(dc));
            switch (row.end) {
            case End::Reset:
                owner.reset();
                EXPECT_FALSE(owner);
                EXPECT_FALSE(Alive(dc));
                break;
            case End::AssignOver:
                owner = ui::UniqueMemoryDC(CreateCompatibleDC(nullptr));
                EXPECT_TRUE(owner);
                EXPECT_FALSE(Alive(dc));
                break;
            case End::Scope:
                break;
            case End::MovedOn: {
                ui::UniqueMemoryDC next(std::move(owner));
                EXPECT_FALSE(owner);
                EXPECT_EQ(next.get(), dc);
                EXPECT_TRUE(Alive(dc));
                break;
            }
            }
        }
        EXPECT_FALSE(Alive(dc));
    }
}

HGDIOBJ Current(HDC dc) { return GetCurrentObject(dc, OBJ_BITMAP); }

TEST(SelectedObject, PutsTheContextsOwnObjectBackOnceWhateverEndsIt)
{
    ui::UniqueMemoryDC dc(CreateCompatibleDC(nullptr)), other(CreateCompatibleDC(nullptr));
    ui::UniqueBitmap bitmap(CreateBitmap(4, 4, 1, 1, nullptr)), otherBitmap(CreateBitmap(4, 4, 1, 1, nullptr));
    ASSERT_TRUE(dc && other && bitmap && otherBitmap);
    const HGDIOBJ own = Current(dc.get()), otherOwn = Current(other.get());
    for (const EndRow& row : kEnds) {
        SCOPED_TRACE(row.name);
        {
            ui::SelectedObject guard(dc.get(), bitmap.get());
            ASSERT_EQ(Current(dc.get()), bitmap.get());
            ui::SelectedObject next;
            if (row.end == End::Reset)
                guard.reset();
            else if (row.end == End::AssignOver) // as an owner of both takes a new pair
                guard = ui::SelectedObject(other.get(), otherBitmap.get());
            else if (row.end == End::MovedOn)
                next = std::move(guard);
            EXPECT_EQ(Current(dc.get()), row.end == End::MovedOn || row.end == End::Scope ? bitmap.get() : own);
        }
        EXPECT_EQ(Current(dc.get()), own);
        EXPECT_EQ(Current(other.get()), otherOwn);
    }
    // Nothing to select: the context keeps what it has.
    EXPECT_FALSE(ui::SelectedObject(dc.get(), nullptr));
    EXPECT_EQ(Current(dc.get()), own);
}

// Names a search finds through `find`, the one it started with included.
std::set<std::wstring> Rest(const ui::UniqueFind& find, WIN32_FIND_DATAW& data)
{
    std::set<std::wstring> names;
    do
        names.insert(data.cFileName);
    while (FindNextFileW(find.get(), &data));
    return names;
}

TEST(FindOwner, ASearchGoesOnThroughTheOwnerItMovedToAndAFailedOneHoldsNothing)
{
    testsupport::TempDir dir;
    dir.File(L"a.cur");
    dir.File(L"b.ani");
    dir.Folder(L"c");
    const std::set<std::wstring> all = {L".", L"..", L"a.cur", L"b.ani", L"c"};
    struct Row {
        const char* name;
        std::wstring pattern;
        bool moved;
        bool found;
    };
    const Row rows[] = {
        {"kept by its first owner", dir / L"*", false, true},
        {"moved before the rest is read", dir / L"*", true, true},
        {"no such folder", dir / L"missing\\*", false, false},
        {"no such folder, moved", dir / L"missing\\*", true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WIN32_FIND_DATAW data{};
        ui::UniqueFind first(FindFirstFileW(row.pattern.c_str(), &data));
        ui::UniqueFind moved;
        if (row.moved) {
            moved = std::move(first);
            EXPECT_FALSE(first);
        }
        const ui::UniqueFind& owner = row.moved ? moved : first;
        ASSERT_EQ(bool(owner), row.found);
        if (row.found)
            EXPECT_EQ(Rest(owner, data), all);
        else
            EXPECT_EQ(owner.get(), INVALID_HANDLE_VALUE);
    }
}

} // namespace
