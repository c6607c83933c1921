#include "tests/support/wine_ui.h"
#include "ui/dialog.h"
#include "ui/exception.h"

#include <gtest/gtest.h>

namespace {

constexpr int IDD_TEST = 100;
constexpr int IDC_THROW = 101;

class TestDialog : public ui::Dialog {
public:
    int inits = 0;
    int throws = 0;

protected:
    bool OnInitDialog() override
    {
        ++inits;
        // The button's handler throws; the dialog must stay up and answer OK afterwards.
        PostMessageW(Handle(), WM_COMMAND, MAKEWPARAM(IDC_THROW, BN_CLICKED), 0);
        return true;
    }
    bool OnCommand(WORD id, WORD code, HWND control) override
    {
        if (id == IDC_THROW) {
            ++throws;
            throw ui::Exception(L"ダイアログで失敗しました");
        }
        return ui::Dialog::OnCommand(id, code, control);
    }
};

TEST(Dialog, RunsFromItsTemplateAndSurvivesAThrowingHandler)
{
    std::vector<std::wstring> shown;
    ui::SetExceptionSink([&](const std::wstring& m) { shown.push_back(m); });
    HWND host = testsupport::CreateHostWindow();
    TestDialog dialog;
    INT_PTR result = 0;
    {
        testsupport::DialogWatchdog ok(IDOK);
        result = dialog.ShowModal(host, IDD_TEST);
        EXPECT_GE(ok.Pressed(), 1);
    }
    ui::SetExceptionSink({});
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.inits, 1);
    EXPECT_EQ(dialog.throws, 1);
    EXPECT_EQ(shown, std::vector<std::wstring>{L"ダイアログで失敗しました"});
    EXPECT_EQ(dialog.Handle(), nullptr);
    DestroyWindow(host);
}

TEST(Dialog, AMissingTemplateIsReportedNotShown)
{
    TestDialog dialog;
    EXPECT_EQ(dialog.ShowModal(nullptr, 4321), -1);
    EXPECT_EQ(dialog.inits, 0);
}

} // namespace
