// A right click on a cursor pack's setup file in the main window: the menu's
// "インストール" installs the pack for this user and applies its scheme; a bad
// pack gets the error box.
#include "res/texts.h"
#include "scheme/cursor_pack_install.h"
#include "scheme/cursor_scheme.h"
#include "scheme/named_schemes.h"
#include "tests/support/local_app_data.h"
#include "tests/support/main_form.h"
#include "tests/support/menu_items.h"
#include "tests/support/seam_recorders.h"
#include "tests/support/wine_ui.h"
#include "ui/seams.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

const std::string kPack = "[DefaultInstall]\r\nCopyFiles=c\r\nAddReg=r\r\n"
                          "[DestinationDirs]\r\nc=10,Cursors\\Menu\r\n"
                          "[r]\r\nHKCU,\"Control Panel\\Cursors\\Schemes\",\"Tarimoku Menu Pack\",0x20000,"
                          "\"%10%\\Cursors\\Menu\\arrow.cur,,%10%\\Cursors\\Menu\\busy.ani\"\r\n"
                          "[c]\r\narrow.cur\r\nbusy.ani\r\n";

class PackInstallMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The shell's menu answers its "インストール" when it has one.
        tracker_.emplace(ui::CurrentSeams().trackMenu, [this](HMENU menu, UINT, POINT, HWND) {
            const UINT chosen = testsupport::MenuCommand(menu, texts::kInstallPack);
            offered.push_back(chosen != 0);
            return chosen;
        });
        ASSERT_TRUE(form.Make());
    }
    void TearDown() override
    {
        form.Close();
        tracker_.reset();
        RegDeleteKeyValueW(HKEY_CURRENT_USER, scheme::kUserSchemesKey, L"Tarimoku Menu Pack");
    }

    // Right-clicks the file of that name in `folder`, shown in the list.
    void RightClick(const std::wstring& folder, const std::wstring& name)
    {
        form->OpenCommandLineFolder({folder});
        testsupport::PumpUntilIdle();
        for (int i = 0; i < form->FileView.Count(); ++i) {
            const std::wstring path = GetItemPath(form->FileView, i);
            form->FileView.SetSelected(i, path.substr(path.rfind(L'\\') + 1) == name);
        }
        const int item = form->FileView.NextSelected(-1);
        ASSERT_GE(item, 0);
        RECT icon{LVIR_ICON};
        SendMessageW(form->FileView.Handle(), LVM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&icon));
        const LPARAM at = MAKELPARAM((icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2);
        PostMessageW(form->FileView.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, at);
        PostMessageW(form->FileView.Handle(), WM_RBUTTONUP, 0, at);
        testsupport::PumpUntilIdle();
    }

    std::wstring Installed(const std::wstring& name) const { return local.Installed(L"Tarimoku Menu Pack", name); }

    testsupport::LocalAppData local;
    testsupport::TempDir packs;
    testsupport::MainFormSlot form;
    testsupport::BoxRecorder boxes;
    testsupport::CursorSeamRecorder cursors{VER_PLATFORM_WIN32_NT};
    std::vector<bool> offered;

private:
    std::optional<ui::ScopedSeam<ui::TrackMenuFn>> tracker_;
};

// The menu's part only: what an install puts where, and which packs it
// refuses, the install's own tests prove.
TEST_F(PackInstallMenu, OfferedOnPacksOnlyAndToldWhenItFails)
{
    const std::string cur = testsupport::ReadBytes(testsupport::CorpusFile(L"reconstruct/xy.cur"));
    packs.File(L"good\\arrow.cur", cur);
    packs.File(L"good\\busy.ani", testsupport::ReadBytes(testsupport::CorpusFile(L"reconstruct/wait.ani")));
    packs.File(L"good\\install.inf", kPack);
    RightClick(packs / L"good", L"install.inf");
    EXPECT_TRUE(boxes.boxes.empty());
    // Applied: the roles name the installed files.
    EXPECT_EQ(Installed(L"arrow.cur"), scheme::ExpandCursorPath(scheme::ReadMouseCursors()[0]));

    packs.File(L"bad\\arrow.cur", cur);
    packs.File(L"bad\\install.inf", kPack);
    packs.File(L"bad\\driver.inf", "[DefaultInstall]\r\nCopyFiles=c\r\n[c]\r\na.sys\r\n");
    RightClick(packs / L"bad", L"install.inf");
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ(L"カーソルパック「install.inf」をインストールできませんでした。\n"
              L"ファイル「busy.ani」が見つかりません。\n何も変更されていません。",
              boxes.boxes[0].text);
    RightClick(packs / L"bad", L"driver.inf");
    // A setup file too large to read is offered all the same, and says why.
    packs.File(L"large\\install.inf", kPack + ";" + std::string(1 << 20, 'x') + "\r\n");
    RightClick(packs / L"large", L"install.inf");
    ASSERT_EQ(2u, boxes.boxes.size());
    EXPECT_EQ(L"カーソルパック「install.inf」をインストールできませんでした。\n"
              L"ファイルが 1024 KB を超えています。\n何も変更されていません。",
              boxes.boxes[1].text);
    EXPECT_EQ((std::vector<bool>{true, true, false, true}), offered);

    // A scheme of the pack's name that the install would not make again is
    // asked about first; any answer but Yes keeps it, and no error box follows.
    boxes.boxes.clear();
    const std::wstring mine = L"c:\\mine\\arrow.cur";
    RegSetKeyValueW(HKEY_CURRENT_USER, scheme::kUserSchemesKey, L"Tarimoku Menu Pack", REG_SZ, mine.c_str(),
                    DWORD((mine.size() + 1) * sizeof(wchar_t)));
    RightClick(packs / L"good", L"install.inf");
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ(L"スキーム「Tarimoku Menu Pack」は既にあります。このカーソルパックのスキームで置き換えますか?",
              boxes.boxes[0].text);
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), boxes.boxes[0].type);
    EXPECT_EQ(mine, scheme::ReadNamedScheme(L"Tarimoku Menu Pack", scheme::SchemeSource::User)->at(0));
}

} // namespace
