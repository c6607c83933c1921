// The go-to-folder dialog, driven through its own message loop.
#include "dialogs/ufrmGo.h"
#include "res/resource.h"
#include "scheme/center_math.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/seam_recorders.h"
#include "tests/support/windows_profile.h"
#include "tests/support/wine_ui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using testsupport::DialogDriver;
using testsupport::Px;

constexpr wchar_t kCaption[] = L"フォルダへ移動";

RECT ClientRectOf(HWND dialog, int id)
{
    RECT r{};
    HWND c = GetDlgItem(dialog, id);
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class GoDialog : public ::testing::Test {
protected:
    void SetUp() override { host = testsupport::CreateHostWindow(); }
    void TearDown() override
    {
        DestroyWindow(host);
        testsupport::PumpUntilIdle();
    }

    struct Outcome {
        INT_PTR result = 0;
        std::vector<std::wstring> messages;
        std::vector<HWND> owners;
        std::vector<std::wstring> textAfterMessage; // edtPath when each message came
        std::wstring entered;
    };
    // Types `typed` and confirms it with `confirm` (Enter in the edit field,
    // or a click on OK). A message ends the dialog with Esc.
    Outcome Run(const std::wstring& typed, bool withEnter)
    {
        Outcome out;
        HWND dialogWnd = nullptr;
        testsupport::BoxRecorder sink;
        sink.onBox = [&](const testsupport::BoxShown& box) {
            out.messages.push_back(box.text);
            out.owners.push_back(box.owner);
            out.textAfterMessage.push_back(DialogDriver::TextOf(GetDlgItem(box.owner, IDC_GO_EDTPATH)));
            DialogDriver::PostKey(GetDlgItem(box.owner, IDC_GO_EDTPATH), VK_ESCAPE);
        };
        DialogDriver driver(kCaption, [&](HWND dialog) {
            dialogWnd = dialog;
            HWND edit = GetDlgItem(dialog, IDC_GO_EDTPATH);
            SetWindowTextW(edit, typed.c_str());
            if (withEnter)
                DialogDriver::PostKey(edit, VK_RETURN);
            else
                PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        });
        TfrmGo dialog;
        out.result = dialog.ShowModal(host);
        out.entered = dialog.EnteredPath();
        EXPECT_EQ(driver.Handled(), 1);
        for (HWND owner : out.owners)
            EXPECT_EQ(owner, dialogWnd);
        return out;
    }

    HWND host = nullptr;
};

TEST_F(GoDialog, AcceptsOnlyAnExistingFolderAndOtherwiseSaysSoAndStaysOpen)
{
    testsupport::TempDir dir;
    std::wstring folder = dir.Folder(L"移動先");
    std::wstring file = dir.File(L"ファイル.txt", "x");
    struct Row {
        const char* what;
        std::wstring typed;
        bool withEnter;
        INT_PTR result;
    };
    const Row rows[] = {
        {"a folder, Enter", folder, true, IDOK},
        {"a folder, the OK button", folder, false, IDOK},
        {"a trailing backslash", folder + L"\\", true, IDOK},
        {"a drive root", L"C:\\", true, IDOK},
        {"empty", L"", true, IDCANCEL},
        {"a file", file, true, IDCANCEL},
        {"a file, the OK button", file, false, IDCANCEL},
        {"a missing path", dir / L"x", true, IDCANCEL},
        {"blanks around a folder are not trimmed", L" " + folder, true, IDCANCEL},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Outcome out = Run(r.typed, r.withEnter);
        EXPECT_EQ(out.result, r.result);
        if (r.result == IDOK) {
            EXPECT_TRUE(out.messages.empty());
            EXPECT_EQ(out.entered, r.typed);
        } else {
            ASSERT_EQ(out.messages.size(), 1u);
            EXPECT_EQ(out.messages[0], L"\"" + r.typed + L"\"が見つかりません。フォルダを確認して下さい。");
            EXPECT_EQ(out.textAfterMessage[0], r.typed); // still open, text unchanged
            EXPECT_EQ(out.entered, L"");
        }
    }
}

TEST_F(GoDialog, EscCancelsWithoutAMessage)
{
    std::vector<std::wstring> messages;
    testsupport::BoxRecorder sink;
    sink.onBox = [&](const testsupport::BoxShown& box) { messages.push_back(box.text); };
    DialogDriver driver(kCaption, [](HWND dialog) {
        HWND edit = GetDlgItem(dialog, IDC_GO_EDTPATH);
        SetWindowTextW(edit, L"C:\\");
        DialogDriver::PostKey(edit, VK_ESCAPE);
    });
    TfrmGo dialog;
    EXPECT_EQ(dialog.ShowModal(host), IDCANCEL);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(dialog.EnteredPath(), L"");
}

TEST_F(GoDialog, OpensEmptyWithItsLayoutCentredOnTheWindowGiven)
{
    SetWindowPos(host, nullptr, 100, 80, 640, 480, SWP_NOZORDER);
    struct Control {
        int id;
        const wchar_t* text;
        RECT place; // left, top, width, height
    };
    const Control controls[] = {
        {IDC_GO_LABEL1, L"開きたいフォルダの名前とパス:", {16, 8, 157, 12}},
        {IDC_GO_EDTPATH, L"", {32, 32, 297, 20}},
        {IDOK, L"OK", {188, 64, 64, 21}},
        {IDCANCEL, L"キャンセル", {264, 64, 64, 21}},
    };
    RECT window{}, client{};
    bool editFocused = false;
    LRESULT defId = 0;
    DialogDriver driver(kCaption, [&](HWND dialog) {
        for (const Control& c : controls) {
            EXPECT_EQ(DialogDriver::TextOf(GetDlgItem(dialog, c.id)), c.text);
            RECT r = ClientRectOf(dialog, c.id);
            // The label grows to its text where the design's font is missing.
            const bool label = c.id == IDC_GO_LABEL1;
            const LONG width = label ? std::max<LONG>(Px(c.place.right), r.right - r.left) : Px(c.place.right);
            const LONG height = label ? std::max<LONG>(Px(c.place.bottom), r.bottom - r.top) : Px(c.place.bottom);
            EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right - r.left, r.bottom - r.top}),
                      (std::vector<LONG>{Px(c.place.left), Px(c.place.top), width, height}))
                << c.id;
        }
        testsupport::ExpectControlsWhole(dialog);
        GetWindowRect(dialog, &window);
        GetClientRect(dialog, &client);
        defId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
        editFocused = GetFocus() == GetDlgItem(dialog, IDC_GO_EDTPATH);
        PostMessageW(dialog, WM_CLOSE, 0, 0); // the close box cancels
    });
    TfrmGo dialog;
    dialog.centerOn = host;
    EXPECT_EQ(dialog.ShowModal(host), IDCANCEL);
    ASSERT_EQ(driver.Handled(), 1);
    EXPECT_EQ(client.right, Px(344));
    EXPECT_EQ(client.bottom, Px(94));
    EXPECT_EQ(LOWORD(defId), IDOK);
    EXPECT_TRUE(editFocused);

    RECT work{}, hostRect{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(host, &hostRect);
    scheme::Point at = scheme::CenterPosition({window.left, window.top, window.right, window.bottom},
                                              {hostRect.left, hostRect.top, hostRect.right, hostRect.bottom},
                                              {work.left, work.top, work.right, work.bottom});
    EXPECT_EQ(window.left, at.x);
    EXPECT_EQ(window.top, at.y);
}

TEST_F(GoDialog, MovedToAnotherDpiItLaysItselfOutAgainWhereTheSystemSuggests)
{
    const int to = testsupport::ProcessDpi() == 96 ? 144 : 96;
    const RECT suggested{50, 60, 50 + 400, 60 + 200};
    RECT window{}, client{}, edit{};
    DialogDriver driver(kCaption, [&](HWND dialog) {
        SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
        GetWindowRect(dialog, &window);
        GetClientRect(dialog, &client);
        edit = ClientRectOf(dialog, IDC_GO_EDTPATH);
        testsupport::ExpectControlsWhole(dialog);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    TfrmGo dialog;
    dialog.ShowModal(host);
    ASSERT_EQ(driver.Handled(), 1);
    EXPECT_EQ(window.left, suggested.left);
    EXPECT_EQ(window.top, suggested.top);
    EXPECT_EQ(client.right, ui::Scale(344, to));
    EXPECT_EQ(client.bottom, ui::Scale(94, to));
    EXPECT_EQ((std::vector<LONG>{edit.left, edit.top, edit.right - edit.left, edit.bottom - edit.top}),
              (std::vector<LONG>{ui::Scale(32, to), ui::Scale(32, to), ui::Scale(297, to), ui::Scale(20, to)}));
}

} // namespace
