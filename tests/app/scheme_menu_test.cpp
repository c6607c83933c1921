// The main window's スキーム menu over the real registry: the items it lists
// when it opens, saving (a name typed in the real dialog, an existing name
// replaced only when the user agrees), applying the user's and the system's
// schemes, deleting, and the boxes each way can end in.
#include "res/resource.h"
#include "res/texts.h"
#include "scheme/named_schemes.h"
#include "scheme/registry.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/local_app_data.h"
#include "tests/support/main_form.h"
#include "tests/support/menu_items.h"
#include "tests/support/seam_recorders.h"
#include "ui/text.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace {

using scheme::SchemeSource;

class SchemeMenuTest : public testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Control Panel\\Cursors");
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, scheme::kSystemSchemesKey);
        Seed(HKEY_LOCAL_MACHINE, scheme::kSystemSchemesKey, L"標準", L"," + cur_);
        Seed(HKEY_CURRENT_USER, scheme::kUserSchemesKey, L"B&W", cur_ + L",," + ani_);
        ASSERT_TRUE(form.Make());
    }
    void TearDown() override
    {
        form.Close();
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, scheme::kSystemSchemesKey);
    }
    static void Seed(HKEY root, const wchar_t* key, const wchar_t* name, const std::wstring& text)
    {
        RegSetKeyValueW(root, key, name, REG_EXPAND_SZ, text.c_str(), DWORD((text.size() + 1) * sizeof(wchar_t)));
    }

    // The menu bar's スキーム pop-up, made as it is when the user opens it.
    HMENU OpenMenu()
    {
        HMENU bar = form->MainMenu();
        for (int i = 0; i < GetMenuItemCount(bar); ++i)
            if (HMENU sub = GetSubMenu(bar, i); sub && GetMenuItemID(sub, 0) == IDM_SCHEME_SAVE) {
                SendMessageW(form->Handle(), WM_INITMENUPOPUP, WPARAM(sub), i);
                return sub;
            }
        return nullptr;
    }
    // Each item as "text", "text ✓", "-" or "text >" (a sub-menu, its items after).
    static std::vector<std::wstring> Items(HMENU menu)
    {
        std::vector<std::wstring> items;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t text[256] = {};
            MENUITEMINFOW info{sizeof info, MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING};
            info.dwTypeData = text;
            info.cch = 255;
            GetMenuItemInfoW(menu, UINT(i), TRUE, &info);
            if (info.fType & MFT_SEPARATOR) {
                items.push_back(L"-");
                continue;
            }
            const wchar_t* mark = info.fState & MFS_CHECKED ? L" ✓" : L"";
            items.push_back(std::wstring(text) + mark + (info.hSubMenu ? L" >" : L""));
            if (info.hSubMenu)
                for (const std::wstring& sub : Items(info.hSubMenu))
                    items.push_back(L"  " + sub);
        }
        return items;
    }
    // Runs the item of the open menu whose text is `text` (of the delete
    // sub-menu, its last item, when `inSubMenu`).
    void Choose(HMENU menu, const std::wstring& text, bool inSubMenu = false)
    {
        if (inSubMenu)
            menu = GetSubMenu(menu, GetMenuItemCount(menu) - 1);
        const UINT command = testsupport::MenuCommand(menu, text);
        ASSERT_NE(command, 0u) << "no item " << testing::PrintToString(text);
        SendMessageW(form->Handle(), WM_COMMAND, command, 0);
    }
    static std::wstring Role(const wchar_t* name)
    {
        HKEY key = nullptr;
        RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Cursors", 0, KEY_READ, &key);
        const std::wstring text = key ? scheme::ReadRegistryText(key, name).value_or(L"?") : L"?";
        RegCloseKey(key);
        return text;
    }

    const std::wstring cur_ = ui::LowerCase(testsupport::CorpusFile(L"reconstruct/xy.cur"));
    const std::wstring ani_ = ui::LowerCase(testsupport::CorpusFile(L"reconstruct/wait.ani"));
    testsupport::MainFormSlot form;
    testsupport::CursorSeamRecorder cursors_{VER_PLATFORM_WIN32_NT};
    // The boxes shown, each answered with `answer`.
    std::vector<std::wstring> boxes_;
    int answer_ = IDNO;
    ui::ScopedSeam<ui::MessageBoxFn> box_{ui::CurrentSeams().messageBox,
                                          [this](HWND, const wchar_t* text, const wchar_t*, UINT) {
                                              boxes_.push_back(text);
                                              return answer_;
                                          }};
};

TEST_F(SchemeMenuTest, ListsApplyAndDeleteTheSchemesAsTheyAreWhenItOpens)
{
    const std::wstring save = L"現在のポインタをスキームとして保存(&S)...";
    const std::wstring pack = L"現在のポインタをパックとして書き出す(&E)...";
    EXPECT_EQ(Items(OpenMenu()), (std::vector<std::wstring>{save, pack, L"-", L"B&&W", L"-",
                                                            L"標準 (システム スキーム)", L"-", L"スキームの削除(&D) >",
                                                            L"  B&&W"}));

    // The system's scheme: every role written, checked at the next opening.
    Choose(OpenMenu(), L"標準 (システム スキーム)");
    EXPECT_EQ(Role(L"Arrow"), L"");
    EXPECT_EQ(Role(L"Help"), cur_);
    EXPECT_EQ(Role(L"Person"), L"");
    EXPECT_EQ(cursors_.spis.size(), 1u);
    EXPECT_TRUE(boxes_.empty());
    EXPECT_EQ(Items(OpenMenu())[5], L"標準 (システム スキーム) ✓");

    // A scheme added outside shows at the next opening; the system not
    // reloading is told.
    Seed(HKEY_CURRENT_USER, scheme::kUserSchemesKey, L"Aqua", ani_);
    cursors_.spiAnswer = FALSE;
    Choose(OpenMenu(), L"Aqua");
    EXPECT_EQ(boxes_, std::vector<std::wstring>{texts::kSchemeStoredForNextSignIn});
    EXPECT_EQ(Role(L"Arrow"), ani_);
    EXPECT_EQ(Items(OpenMenu())[3], L"Aqua ✓");

    // Deleting asks first: No keeps it, Yes deletes it; the roles stay.
    boxes_.clear();
    Choose(OpenMenu(), L"B&&W", true);
    EXPECT_EQ(boxes_, std::vector<std::wstring>{L"スキーム「B&W」を削除しますか?"});
    EXPECT_EQ(scheme::SchemeNames(SchemeSource::User), (std::vector<std::wstring>{L"Aqua", L"B&W"}));
    answer_ = IDYES;
    Choose(OpenMenu(), L"B&&W", true);
    EXPECT_EQ(scheme::SchemeNames(SchemeSource::User), std::vector<std::wstring>{L"Aqua"});
    EXPECT_EQ(Role(L"Arrow"), ani_);
}

TEST_F(SchemeMenuTest, SavingAsksForANameAndBeforeReplacing)
{
    scheme::SetRegistryVal(HKEY_CURRENT_USER, scheme::kCursorSchemeKey, L"Hand", cur_);
    int dialogs = 0;
    std::wstring typed = L"  私の  ";
    testsupport::DialogDriver driver(L"スキームの保存", [&](HWND dialog) {
        ++dialogs;
        SetDlgItemTextW(dialog, IDC_SCHEMENAME_EDIT, typed.c_str());
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    Choose(OpenMenu(), L"現在のポインタをスキームとして保存(&S)...");
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(boxes_.empty());
    EXPECT_EQ(scheme::ReadNamedScheme(L"私の", SchemeSource::User)->at(14), cur_);
    EXPECT_EQ(scheme::ReadCurrentScheme().name, L"私の");

    // An existing name (letter case aside): No keeps the old scheme.
    typed = L"b&w";
    Choose(OpenMenu(), L"現在のポインタをスキームとして保存(&S)...");
    EXPECT_EQ(boxes_, std::vector<std::wstring>{L"スキーム「B&W」は既にあります。置き換えますか?"});
    EXPECT_EQ(scheme::ReadNamedScheme(L"B&W", SchemeSource::User)->at(0), cur_);
    answer_ = IDYES;
    Choose(OpenMenu(), L"現在のポインタをスキームとして保存(&S)...");
    EXPECT_EQ(scheme::ReadNamedScheme(L"B&W", SchemeSource::User)->at(0), L"");
    EXPECT_EQ(scheme::ReadNamedScheme(L"B&W", SchemeSource::User)->at(14), cur_);
    EXPECT_EQ(dialogs, 3);
}

TEST_F(SchemeMenuTest, AnUnloadableFileIsNamedAndNothingChanges)
{
    testsupport::TempDir dir;
    const std::wstring text = dir.File(L"text.cur", "not a cursor");
    Seed(HKEY_CURRENT_USER, scheme::kUserSchemesKey, L"壊れ", cur_ + L"," + text);
    scheme::SetRegistryVal(HKEY_CURRENT_USER, scheme::kCursorSchemeKey, L"Arrow", L"c:\\before.cur");
    Choose(OpenMenu(), L"壊れ");
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_NE(boxes_[0].find(L"\n\n" + text), std::wstring::npos);
    EXPECT_EQ(Role(L"Arrow"), L"c:\\before.cur");
    EXPECT_EQ(Role(L"Help"), L"?");
    EXPECT_TRUE(cursors_.spis.empty());
}

// Deleting a scheme the program installed from a pack asks whether the
// pack's files go too (a role in use that names one is the system's again);
// files another scheme also names stay unasked.
TEST_F(SchemeMenuTest, DeletingAnInstalledPacksSchemeAsksAboutItsFiles)
{
    testsupport::LocalAppData local;
    const std::wstring neon = L"%LOCALAPPDATA%\\Tarimoku\\Cursors\\Neon\\a.cur";
    const std::wstring aqua = L"%LOCALAPPDATA%\\Tarimoku\\Cursors\\Aqua\\c.cur";
    for (const std::wstring& file : {neon, aqua}) {
        const std::wstring path = scheme::ExpandCursorPath(file);
        SHCreateDirectoryExW(nullptr, path.substr(0, path.rfind(L'\\')).c_str(), nullptr);
        CopyFileW(cur_.c_str(), path.c_str(), FALSE);
    }
    Seed(HKEY_CURRENT_USER, scheme::kUserSchemesKey, L"Aqua", aqua);
    Seed(HKEY_CURRENT_USER, scheme::kUserSchemesKey, L"Mine", L",," + aqua);
    scheme::SetRegistryVal(HKEY_CURRENT_USER, scheme::kCursorSchemeKey, L"Help", neon);
    Seed(HKEY_CURRENT_USER, scheme::kUserSchemesKey, L"Neon", neon);
    answer_ = IDYES;
    Choose(OpenMenu(), L"Neon", true);
    EXPECT_EQ(boxes_, (std::vector<std::wstring>{L"スキーム「Neon」を削除しますか?",
                                                 L"スキーム「Neon」のカーソルパックから"
                                                 L"インストールしたファイルも削除しますか?"}));
    EXPECT_FALSE(testsupport::FileExists(scheme::ExpandCursorPath(neon)));
    EXPECT_EQ(Role(L"Help"), L"");
    boxes_.clear();
    Choose(OpenMenu(), L"Aqua", true);
    EXPECT_EQ(boxes_, std::vector<std::wstring>{L"スキーム「Aqua」を削除しますか?"});
    EXPECT_TRUE(testsupport::FileExists(scheme::ExpandCursorPath(aqua)));
}

} // namespace
