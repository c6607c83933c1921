// The program's start when building the tree or opening the command line's
// folder fails, and when the window cannot be made.
#include "app/startup.h"
#include "tests/support/main_form.h"
#include "tests/support/seam_recorders.h"
#include "tests/support/wine_ui.h"
#include "ui/exception.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kNotMade[] = L"メインウィンドウを作成できないため、タリモクを終了します。";

enum class Fault { None, WhileTheTreeBuilds, BeforeTheTreeExists, WhileTheFolderOpens };

class FaultyForm : public TfrmTarimoku {
public:
    explicit FaultyForm(Fault fault) : fault_(fault) {}
    void OpenCommandLineFolder(const std::vector<std::wstring>& arguments) override
    {
        if (fault_ == Fault::WhileTheFolderOpens)
            throw ui::Exception(L"フォルダを開けません");
        TfrmTarimoku::OpenCommandLineFolder(arguments);
    }

protected:
    void CreateFolderTree() override
    {
        if (fault_ == Fault::BeforeTheTreeExists)
            throw ui::Exception(L"ツリーを作成できません");
        TfrmTarimoku::CreateFolderTree();
        if (fault_ == Fault::WhileTheTreeBuilds)
            throw ui::Exception(L"ツリーの途中で失敗");
    }

private:
    Fault fault_;
};

TEST(Startup, FailuresAreShownAndOnlyAWindowThatCannotBeMadeEndsTheProgram)
{
    struct Row {
        Fault fault;
        bool started;
        std::vector<std::wstring> shown;  // by the top-level handler
        std::vector<std::wstring> errors; // error boxes
        bool folderOpened;
    };
    const Row rows[] = {
        {Fault::None, true, {}, {}, true},
        {Fault::WhileTheTreeBuilds, true, {L"ツリーの途中で失敗"}, {}, true},
        {Fault::BeforeTheTreeExists, false, {L"ツリーを作成できません"}, {kNotMade}, false},
        {Fault::WhileTheFolderOpens, true, {L"フォルダを開けません"}, {}, false},
    };
    testsupport::TempDir dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.fault));
        std::vector<std::wstring> shown, errors;
        ui::SetExceptionSink([&](const std::wstring& m) { shown.push_back(m); });
        {
            testsupport::BoxRecorder boxes;
            boxes.onBox = [&](const testsupport::BoxShown& box) { errors.push_back(box.text); };
            testsupport::MainForm::Options options;
            options.make = [&](TfrmTarimoku& made) { return StartMainWindow(made, {dir.Path()}); };
            options.show = false;
            testsupport::MainForm started(options, std::make_unique<FaultyForm>(row.fault));
            TfrmTarimoku& form = *started;
            EXPECT_EQ(started.Created(), row.started);
            EXPECT_EQ(shown, row.shown);
            EXPECT_EQ(errors, row.errors);
            if (row.started) {
                // The window works: both panes are there and it closes as usual.
                ASSERT_TRUE(IsWindow(form.Handle()));
                EXPECT_NE(form.FolderView.Handle(), nullptr);
                EXPECT_NE(form.FileView.Handle(), nullptr);
                EXPECT_NE(form.FolderView.Root(), nullptr);
                EXPECT_EQ(form.FolderView.SelectedPath() == dir.Path(), row.folderOpened);
                form.Show(SW_SHOWNOACTIVATE);
                testsupport::PumpUntilIdle();
                SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
                testsupport::PumpUntilIdle();
                EXPECT_EQ(form.Handle(), nullptr);
            }
        }
        testsupport::PumpUntilIdle();
        ui::SetExceptionSink({});
    }
}

} // namespace
