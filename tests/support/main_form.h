// The main window created as the program creates it, for tests that drive it
// in process, and what they read back from its panes.
#pragma once
#include "app/ufrmMain.h"
#include "shview/folderview/TreeState.h"
#include "tests/support/pump_until.h"
#include "tests/support/wine_ui.h"

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <string>
#include <vector>

namespace testsupport {

// Creates and shows the main window; gone again with the object.
class MainForm {
public:
    // How a test's window is set up before it is made, and how it is made
    // (by default as the program makes it: Create, then Show).
    struct Options {
        std::function<void(TfrmTarimoku&)> before;
        std::function<bool(TfrmTarimoku&)> make;
        bool show = true;
        bool foreground = false; // the window takes the keyboard
    };

    MainForm() : MainForm(Options{}) {}
    // `form`: a test's own kind of main window (none: the program's).
    explicit MainForm(Options options, std::unique_ptr<TfrmTarimoku> form = nullptr)
    {
        form_ = form ? std::move(form) : std::make_unique<TfrmTarimoku>();
        if (options.before)
            options.before(*form_);
        created_ = options.make ? options.make(*form_) : form_->Create();
        if (created_ && options.show) {
            form_->Show();
            if (options.foreground)
                SetForegroundWindow(form_->Handle());
            PumpUntilIdle();
        }
    }
    ~MainForm() { Close(); }
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // Destroys the window now, as the end of the program does.
    void Close()
    {
        if (!form_)
            return;
        form_.reset();
        PumpUntilIdle();
    }

    bool Created() const { return created_; }
    TfrmTarimoku& operator*() const { return *form_; }
    TfrmTarimoku* operator->() const { return form_.get(); }
    TfrmTarimoku* get() const { return form_.get(); }

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

// A main window made when the test asks for it: after the files, seams or
// settings it needs are ready, or once more in the same test.
class MainFormSlot {
public:
    // Makes a new window (closing the one before); answers whether it was made.
    bool Make(MainForm::Options options = {}, std::unique_ptr<TfrmTarimoku> form = nullptr)
    {
        window_.reset();
        window_.emplace(std::move(options), std::move(form));
        return window_->Created();
    }
    void Close() { window_.reset(); }
    explicit operator bool() const { return window_.has_value(); }
    TfrmTarimoku* get() const { return window_ ? window_->get() : nullptr; }
    TfrmTarimoku* operator->() const { return get(); }
    TfrmTarimoku& operator*() const { return *get(); }
    MainForm& Form() { return *window_; }

private:
    std::optional<MainForm> window_;
};

} // namespace testsupport
