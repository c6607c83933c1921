// The file drop target driven through IDropTarget with real data objects.
#include "tests/shell/shell_fixture.h"

#include <shlobj.h>

#include <stdexcept>

#include "shell/FileDropTarget.h"
#include "tests/support/drop_data.h"

using namespace shelltest;
using testsupport::DropData;

namespace {

// A target whose callbacks record what they were given.
class DropTargetTest : public ShellFixture {
protected:
    struct Dropped {
        std::vector<std::wstring> files;
        DWORD keyState = 0;
        POINT pt{};
        DWORD effect = 0;
    };

    ui::ComPtr<TFileDropTarget> MakeTarget()
    {
        return TFileDropTarget::Create(
            [this](const std::vector<std::wstring>& files, DWORD keys, POINT pt, DWORD& effect) {
                drops.push_back({files, keys, pt, effect});
                if (onDrop)
                    onDrop(effect);
            },
            [this] { ++enters; }, [this] { ++leaves; },
            [this](DWORD keys, POINT, DWORD& effect) { overs.push_back({keys, effect}); });
    }

    TestDir dir;
    std::vector<Dropped> drops;
    std::function<void(DWORD&)> onDrop;
    int enters = 0, leaves = 0;
    std::vector<std::pair<DWORD, DWORD>> overs; // key state, effect seen
};

constexpr POINTL kAt{120, 80};

} // namespace

TEST_F(DropTargetTest, TheKeysChooseTheEffectWhateverTheSourceAllows)
{
    const std::wstring file = dir.File(L"a.txt", "a");
    struct Row {
        DWORD keys;
        DWORD effect;
    };
    const Row rows[] = {
        {MK_LBUTTON, DROPEFFECT_MOVE},
        {MK_RBUTTON, DROPEFFECT_MOVE},
        {MK_LBUTTON | MK_SHIFT, DROPEFFECT_MOVE},
        {MK_LBUTTON | MK_CONTROL, DROPEFFECT_COPY},
        {MK_RBUTTON | MK_CONTROL, DROPEFFECT_COPY},
        {MK_LBUTTON | MK_CONTROL | MK_SHIFT, DROPEFFECT_LINK},
        {MK_CONTROL | MK_SHIFT | MK_ALT, DROPEFFECT_LINK},
    };
    auto data = DropData::ForFiles({file});
    ASSERT_TRUE(data);
    // A target without any callback follows the same rule.
    for (bool withCallbacks : {true, false}) {
        auto target = withCallbacks ? MakeTarget() : TFileDropTarget::Create({}, {}, {}, {});
        for (const Row& row : rows) {
            SCOPED_TRACE(testing::Message() << "keys " << row.keys << " callbacks " << withCallbacks);
            for (DWORD allowed : {DWORD(DROPEFFECT_COPY), DWORD(DROPEFFECT_MOVE | DROPEFFECT_COPY | DROPEFFECT_LINK)}) {
                DWORD effect = allowed;
                EXPECT_EQ(S_OK, target->DragEnter(data.get(), row.keys, kAt, &effect));
                EXPECT_EQ(row.effect, effect);
                effect = allowed;
                EXPECT_EQ(S_OK, target->DragOver(row.keys, kAt, &effect));
                EXPECT_EQ(row.effect, effect);
            }
            // The drop proposes the same to its callback (which leaves it).
            DWORD effect = DROPEFFECT_COPY;
            EXPECT_EQ(S_OK, target->Drop(data.get(), row.keys, kAt, &effect));
            if (withCallbacks) {
                ASSERT_FALSE(drops.empty());
                EXPECT_EQ(row.effect, drops.back().effect);
            }
        }
    }
    EXPECT_TRUE(testsupport::FileExists(file));
}

TEST_F(DropTargetTest, TextIsRefusedTheCallbacksSeeNoneAndNothingIsDropped)
{
    auto target = MakeTarget();
    auto text = DropData::Text(L"not a file");
    DWORD effect = DROPEFFECT_MOVE | DROPEFFECT_COPY;
    EXPECT_EQ(S_OK, target->DragEnter(text.get(), MK_LBUTTON, kAt, &effect));
    EXPECT_EQ(DWORD(DROPEFFECT_NONE), effect);
    EXPECT_EQ(1, enters);
    EXPECT_FALSE(target->Tracking());
    for (DWORD keys : {DWORD(MK_LBUTTON), DWORD(MK_LBUTTON | MK_CONTROL)}) {
        effect = DROPEFFECT_COPY;
        EXPECT_EQ(S_OK, target->DragOver(keys, kAt, &effect));
        EXPECT_EQ(DWORD(DROPEFFECT_NONE), effect);
    }
    ASSERT_EQ(2u, overs.size());
    EXPECT_EQ(DWORD(MK_LBUTTON | MK_CONTROL), overs[1].first);
    EXPECT_EQ(DWORD(DROPEFFECT_NONE), overs[1].second);
    effect = DROPEFFECT_MOVE;
    EXPECT_EQ(S_OK, target->Drop(text.get(), MK_LBUTTON, kAt, &effect));
    EXPECT_EQ(DWORD(DROPEFFECT_NONE), effect);
    EXPECT_TRUE(drops.empty());
    EXPECT_FALSE(text->AnyReported());

    // Files after text are taken again; a leave ends the drag.
    auto files = DropData::ForFiles({dir.File(L"a.txt", "a")});
    effect = 0;
    target->DragEnter(files.get(), MK_LBUTTON, kAt, &effect);
    EXPECT_TRUE(target->Tracking());
    EXPECT_EQ(S_OK, target->DragLeave());
    EXPECT_EQ(1, leaves);
    EXPECT_FALSE(target->Tracking());
    effect = DROPEFFECT_MOVE;
    target->Drop(files.get(), MK_LBUTTON, kAt, &effect);
    EXPECT_EQ(DWORD(DROPEFFECT_NONE), effect);
    EXPECT_TRUE(drops.empty());
}

TEST_F(DropTargetTest, ThreeFilesArriveInOrderWithTheKeysAndThePoint)
{
    const std::vector<std::wstring> files{dir.File(L"c.txt", "c"), dir.File(L"a.txt", "a"), dir.File(L"b.txt", "b")};
    auto data = DropData::ForFiles(files);
    ASSERT_TRUE(data);
    auto target = MakeTarget();
    DWORD effect = 0;
    target->DragEnter(data.get(), MK_LBUTTON, kAt, &effect);
    effect = DROPEFFECT_MOVE | DROPEFFECT_COPY;
    EXPECT_EQ(S_OK, target->Drop(data.get(), MK_CONTROL, POINTL{-5, 1234}, &effect));
    ASSERT_EQ(1u, drops.size());
    EXPECT_EQ(files, drops[0].files);
    EXPECT_EQ(DWORD(MK_CONTROL), drops[0].keyState);
    EXPECT_EQ(-5, drops[0].pt.x);
    EXPECT_EQ(1234, drops[0].pt.y);
    EXPECT_EQ(DWORD(DROPEFFECT_COPY), drops[0].effect);
    // The drag's data stays until the next enter or leave.
    EXPECT_TRUE(target->Tracking());
}

TEST_F(DropTargetTest, NamesLongerThanMaxPathAndOutsideShiftJisArriveWhole)
{
    std::wstring longName = dir.Path() + L"\\";
    while (longName.size() < 320)
        longName += L"long-folder-name-";
    longName += L"\\x.cur";
    const std::vector<std::wstring> names{longName, dir.Path() + L"\\한글.cur", dir.Path() + L"\\smile \U0001F600.ani"};
    auto data = DropData::HDrop(names);
    EXPECT_EQ(names, TFileDropTarget::DroppedFiles(data.get()));
    auto target = MakeTarget();
    DWORD effect = 0;
    target->DragEnter(data.get(), MK_LBUTTON, kAt, &effect);
    target->Drop(data.get(), MK_LBUTTON, kAt, &effect);
    ASSERT_EQ(1u, drops.size());
    EXPECT_EQ(names, drops[0].files);
    EXPECT_TRUE(TFileDropTarget::DroppedFiles(DropData::Text(L"x").get()).empty());
}

// What the drop callback leaves is what it did; a move it did itself is
// reported the shell's way, so that no source deletes the originals.
TEST_F(DropTargetTest, TheSourceLearnsWhatTheDropDid)
{
    struct Row {
        const char* name;
        std::function<void(DWORD&)> callback;
        DWORD toSource;
        long long performed, logical; // -1: not reported
    };
    const Row rows[] = {
        {"nothing done", [](DWORD& e) { e = DROPEFFECT_NONE; }, DROPEFFECT_NONE, -1, -1},
        {"copied", [](DWORD& e) { e = DROPEFFECT_COPY; }, DROPEFFECT_COPY, DROPEFFECT_COPY, DROPEFFECT_COPY},
        {"moved here", [](DWORD& e) { e = DROPEFFECT_MOVE; }, DROPEFFECT_NONE, DROPEFFECT_NONE, DROPEFFECT_MOVE},
        {"callback failed", [](DWORD&) { throw std::runtime_error("x"); }, DROPEFFECT_NONE, -1, -1},
    };
    const std::wstring file = dir.File(L"a.txt", "a");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto data = DropData::ForFiles({file});
        auto target = MakeTarget();
        onDrop = row.callback;
        DWORD effect = 0;
        target->DragEnter(data.get(), MK_LBUTTON, kAt, &effect);
        effect = DROPEFFECT_MOVE | DROPEFFECT_COPY | DROPEFFECT_LINK;
        EXPECT_EQ(S_OK, target->Drop(data.get(), MK_LBUTTON, kAt, &effect));
        EXPECT_EQ(row.toSource, effect);
        EXPECT_EQ(row.performed, data->Reported(CFSTR_PERFORMEDDROPEFFECT));
        EXPECT_EQ(row.logical, data->Reported(CFSTR_LOGICALPERFORMEDDROPEFFECT));
    }
}

TEST_F(DropTargetTest, ExceptionsInTheCallbacksStopAtTheTarget)
{
    auto target = TFileDropTarget::Create(
        [](const std::vector<std::wstring>&, DWORD, POINT, DWORD&) { throw std::runtime_error("drop"); },
        [] { throw std::runtime_error("enter"); }, [] { throw std::runtime_error("leave"); },
        [](DWORD, POINT, DWORD&) { throw std::runtime_error("over"); });
    auto data = DropData::ForFiles({dir.File(L"a.txt", "a")});
    DWORD effect = DROPEFFECT_MOVE;
    EXPECT_EQ(S_OK, target->DragEnter(data.get(), MK_LBUTTON, kAt, &effect));
    EXPECT_EQ(DWORD(DROPEFFECT_NONE), effect);
    effect = DROPEFFECT_MOVE;
    EXPECT_EQ(S_OK, target->DragOver(MK_LBUTTON, kAt, &effect));
    EXPECT_EQ(DWORD(DROPEFFECT_NONE), effect);
    EXPECT_EQ(S_OK, target->DragLeave());
    target->DragEnter(data.get(), MK_LBUTTON, kAt, &effect);
    effect = DROPEFFECT_MOVE;
    EXPECT_EQ(S_OK, target->Drop(data.get(), MK_LBUTTON, kAt, &effect));
    EXPECT_EQ(DWORD(DROPEFFECT_NONE), effect);
}
