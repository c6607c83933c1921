// The drop source's answers, what the drag source hands to the drag loop,
// and the IUnknown every object of ours shares.
#include "tests/shell/shell_fixture.h"

#include <shellapi.h>

#include "shell/DropSourceEx.h"
#include "shell/DropSourceObject.h"
#include "shell/FileDropTarget.h"
#include "ui/com_object.h"
#include "ui/handles.h"

using namespace shelltest;

namespace {

// An object of two interfaces that says when it goes, and answers IDropSource
// only when told to (as a class that overrides Find would).
class TwoInterfaces final : public ui::ComObject<IDropTarget, IDropSource> {
public:
    explicit TwoInterfaces(bool& gone) : gone_(gone) {}
    bool offerSource = true;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return S_OK; }

protected:
    void* Find(REFIID iid) noexcept override
    {
        return IsEqualIID(iid, IID_IDropSource) && !offerSource ? nullptr : ComObject::Find(iid);
    }

private:
    ~TwoInterfaces() override { gone_ = true; }
    bool& gone_;
};

} // namespace

TEST(ComObject, AnswersItsInterfacesCountsReferencesAndGoesWithTheLast)
{
    bool gone = false;
    auto* object = new TwoInterfaces(gone);
    IUnknown* identity = static_cast<IDropTarget*>(object);
    const struct {
        const char* name;
        const IID& iid;
        void* expected; // null: E_NOINTERFACE
    } rows[] = {
        {"IUnknown", IID_IUnknown, identity},
        {"the first interface", IID_IDropTarget, static_cast<IDropTarget*>(object)},
        {"the second", IID_IDropSource, static_cast<IDropSource*>(object)},
        {"another", IID_IDataObject, nullptr},
    };
    ULONG refs = 1;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(object->QueryInterface(row.iid, &out), row.expected ? S_OK : E_NOINTERFACE);
        EXPECT_EQ(out, row.expected);
        refs += row.expected ? 1 : 0;
        EXPECT_EQ(object->AddRef(), refs + 1);
        EXPECT_EQ(object->Release(), refs);
    }
    object->offerSource = false;
    void* out = nullptr;
    EXPECT_EQ(object->QueryInterface(IID_IDropSource, &out), E_NOINTERFACE);
    EXPECT_EQ(object->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    // The program's own objects answer through the same base.
    auto source = ui::ComPtr<TDropSourceObject>::Attach(new TDropSourceObject);
    EXPECT_EQ(source->QueryInterface(IID_IDropSource, &out), S_OK);
    EXPECT_EQ(out, static_cast<IDropSource*>(source.get()));
    EXPECT_EQ(source->Release(), 1u);
    auto target = TFileDropTarget::Create(nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(target->QueryInterface(IID_IDropTarget, &out), S_OK);
    EXPECT_EQ(out, static_cast<IDropTarget*>(target.get()));
    EXPECT_EQ(target->Release(), 1u);
    EXPECT_EQ(target->QueryInterface(IID_IDropSource, &out), E_NOINTERFACE);

    for (ULONG left = refs; left > 1; --left)
        EXPECT_EQ(object->Release(), left - 1);
    EXPECT_FALSE(gone);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_TRUE(gone);
}

TEST(DropSourceObject, ADragGoesOnWhileEitherButtonIsHeldAndEscapeCancels)
{
    auto source = ui::ComPtr<TDropSourceObject>::Attach(new TDropSourceObject);
    const DWORD others[] = {0, MK_SHIFT, MK_CONTROL, MK_MBUTTON, MK_SHIFT | MK_CONTROL | MK_MBUTTON};
    for (DWORD extra : others) {
        SCOPED_TRACE(extra);
        EXPECT_EQ(DRAGDROP_S_DROP, source->QueryContinueDrag(FALSE, extra));
        EXPECT_EQ(S_OK, source->QueryContinueDrag(FALSE, MK_LBUTTON | extra));
        EXPECT_EQ(S_OK, source->QueryContinueDrag(FALSE, MK_RBUTTON | extra));
        EXPECT_EQ(S_OK, source->QueryContinueDrag(FALSE, MK_LBUTTON | MK_RBUTTON | extra));
        for (DWORD buttons : {DWORD(0), DWORD(MK_LBUTTON), DWORD(MK_RBUTTON)})
            EXPECT_EQ(DRAGDROP_S_CANCEL, source->QueryContinueDrag(TRUE, buttons | extra));
    }
    for (DWORD effect : {DWORD(DROPEFFECT_NONE), DWORD(DROPEFFECT_COPY), DWORD(DROPEFFECT_MOVE), DWORD(DROPEFFECT_LINK), DWORD(DROPEFFECT_SCROLL | 7)})
        EXPECT_EQ(DRAGDROP_S_USEDEFAULTCURSORS, source->GiveFeedback(effect));
}

namespace {

// The file names a data object carries as CF_HDROP.
std::vector<std::wstring> DroppedFiles(IDataObject* data)
{
    std::vector<std::wstring> out;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&format, &medium)))
        return out;
    auto drop = static_cast<HDROP>(GlobalLock(medium.hGlobal));
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        wchar_t name[MAX_PATH] = {};
        DragQueryFileW(drop, i, name, MAX_PATH);
        out.emplace_back(name);
    }
    GlobalUnlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
    return out;
}

class DragTest : public ShellFixture {
protected:
    struct Drag {
        std::vector<std::wstring> files;
        DWORD allowed = 0;
        HRESULT keepGoing = E_FAIL, dropped = E_FAIL;
    };

    DragTest()
    {
        a = dir.File(L"a.txt", "a");
        b = dir.File(L"b.txt", "b");
        other = dir.File(L"other\\c.txt", "c");
    }

    TestDir dir;
    std::wstring a, b, other;
    std::vector<Drag> drags;

private:
    ui::ScopedSeam<ui::DoDragDropFn> drag_{
        ui::CurrentSeams().doDragDrop, [this](IDataObject* data, IDropSource* source, DWORD allowed, DWORD* effect) {
            Drag d;
            d.files = DroppedFiles(data);
            d.allowed = allowed;
            d.keepGoing = source->QueryContinueDrag(FALSE, MK_LBUTTON);
            d.dropped = source->QueryContinueDrag(FALSE, 0);
            drags.push_back(d);
            *effect = DROPEFFECT_NONE;
            return DRAGDROP_S_DROP;
        }};
};

// Records what DragFileNames hands on instead of dragging.
class RecordingDragSource : public TDropSourceEx {
public:
    void DragItems(HWND, IShellFolder* folder, int count, PCUIDLIST_RELATIVE items) override
    {
        ++calls;
        this->count = count;
        names.clear();
        for (PCUIDLIST_RELATIVE at = items; at && at->mkid.cb; at = idlist::IDListRest(at)) {
            idlist::ChildIDList one = idlist::IDListFirst(at);
            names.push_back(idlist::IDListDisplayName(folder, one.get(), SHGDN_FORPARSING));
        }
    }
    int calls = 0;
    int count = 0;
    std::vector<std::wstring> names;
};

} // namespace

TEST_F(DragTest, DragsTheShellsDataObjectForThePaths)
{
    TDropSourceEx source;
    source.DSFileName = {a, b};
    source.DragFileNames(window);
    ASSERT_EQ(1u, drags.size());
    EXPECT_EQ((std::vector<std::wstring>{a, b}), drags[0].files);
    EXPECT_EQ(DWORD(DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK), drags[0].allowed);
    EXPECT_EQ(S_OK, drags[0].keepGoing);
    EXPECT_EQ(DRAGDROP_S_DROP, drags[0].dropped);

    source.DragFile(window, dir.Path());
    ASSERT_EQ(2u, drags.size());
    EXPECT_EQ((std::vector<std::wstring>{dir.Path()}), drags[1].files);
    EXPECT_EQ((std::vector<std::wstring>{dir.Path()}), source.DSFileName);
}

TEST_F(DragTest, APathThatCannotBeBoundStartsNoDragAndStaysTheOnlyPath)
{
    TDropSourceEx source;
    source.DSFileName = {a, b};
    const std::wstring missing = dir / L"missing\\x.txt";
    source.DragFile(window, missing);
    EXPECT_TRUE(drags.empty());
    EXPECT_EQ((std::vector<std::wstring>{missing}), source.DSFileName);

    source.DragFile(window, L"/tmp/x"); // a Unix path never reaches the shell
    EXPECT_TRUE(drags.empty());

    // No window: nothing happens at all.
    source.DragFile(nullptr, a);
    EXPECT_EQ((std::vector<std::wstring>{L"/tmp/x"}), source.DSFileName);
}

TEST_F(DragTest, PathsOfTwoFoldersAreTakenAsItemsOfTheFirstPathsFolder)
{
    RecordingDragSource source;
    source.DSFileName = {a, other};
    source.DragFileNames(window);
    ASSERT_EQ(1, source.calls);
    EXPECT_EQ(2, source.count);
    // c.txt is looked for beside a.txt.
    EXPECT_EQ((std::vector<std::wstring>{a, dir / L"c.txt"}), source.names);
}

TEST_F(DragTest, NoDragForNoPathsOrMoreThan1024)
{
    RecordingDragSource source;
    source.DragFileNames(window);
    source.DSFileName.assign(1025, a);
    source.DragFileNames(window);
    EXPECT_EQ(0, source.calls);
    source.DSFileName.assign(1024, a);
    source.DragFileNames(window);
    EXPECT_EQ(1, source.calls);
    EXPECT_EQ(1024, source.count);
}

TEST_F(DragTest, NoDragForAnEmptyOrOversizedSelectionOrAShortList)
{
    idlist::AbsoluteIDList absolute = idlist::IDListFromPath(a);
    ui::ComPtr<IShellFolder> folder;
    idlist::ChildIDList item;
    ASSERT_TRUE(idlist::IDListBindParent(absolute.get(), folder, item));
    idlist::RelativeIDList packed = idlist::RelativeIDList{};
    for (int i = 0; i < 1025; ++i)
        packed = idlist::IDListCombineRelative(packed.get(), item.get());

    TDropSourceEx source;
    source.DragItems(window, folder.get(), 0, packed.get());
    source.DragItems(window, folder.get(), 1025, packed.get());
    source.DragItems(window, folder.get(), 2, item.get());
    source.DragItems(nullptr, folder.get(), 1, item.get());
    source.DragItems(window, nullptr, 1, item.get());
    source.DragItems(window, folder.get(), 1, nullptr);
    EXPECT_TRUE(drags.empty());

    source.DragItems(window, folder.get(), 1024, packed.get());
    ASSERT_EQ(1u, drags.size());
    EXPECT_EQ(1024u, drags[0].files.size());
}
