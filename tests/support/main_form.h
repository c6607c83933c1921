// The main window created as the program creates it, for tests that drive it
// in process, and what they read back from its panes.
#pragma once
#include "app/ufrmMain.h"
#include "shview/TreeState.h"
#include "tests/support/pump_until.h"
#include "tests/support/wine_ui.h"

#include <memory>
#include <string>
#include <vector>

namespace testsupport {

// Creates and shows the main window; gone again with the object.
class MainForm {
public:
    MainForm()
    {
        form_ = std::make_unique<TfrmTarimoku>();
        created_ = form_->Create();
        if (created_) {
            form_->Show();
            PumpUntilIdle();
        }
    }
    ~MainForm()
    {
        form_.reset();
        PumpUntilIdle();
    }
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    bool Created() const { return created_; }
    TfrmTarimoku& operator*() const { return *form_; }
    TfrmTarimoku* operator->() const { return form_.get(); }

    // Shows a folder as the user would, and lets the posted work run.
    void Open(const std::wstring& path)
    {
        form_->FolderView.SelectPath(path);
        PumpUntilIdle();
    }

    // The list's captions, in list order.
    std::vector<std::wstring> Captions() const
    {
        std::vector<std::wstring> result;
        for (int i = 0; i < form_->FileView.Count(); ++i)
            result.push_back(form_->FileView.ItemText(i));
        return result;
    }
    // Captions of the selected items, in list order.
    std::vector<std::wstring> SelectedCaptions() const
    {
        std::vector<std::wstring> result;
        for (int i = form_->FileView.NextSelected(); i >= 0; i = form_->FileView.NextSelected(i))
            result.push_back(form_->FileView.ItemText(i));
        return result;
    }
    bool Lists(const std::wstring& caption) const
    {
        for (const std::wstring& c : Captions())
            if (c == caption)
                return true;
        return false;
    }
    std::wstring SelectedTextPath() const
    {
        return shview::NodeTextPath(form_->FolderView, form_->FolderView.Selected());
    }

private:
    std::unique_ptr<TfrmTarimoku> form_;
    bool created_ = false;
};

} // namespace testsupport
