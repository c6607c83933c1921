// The about box: the program's icon, title, version with the build number of
// the running executable, and two lines about the program.
#pragma once
#include "dialogs/screen_place.h"
#include "ui/dialog.h"
#include "ui/handles.h"

#include <string>

class TfrmAbout : public ui::Dialog {
public:
    // Shows the box modally; it ends with IDCANCEL ("閉じる", Enter, Esc or
    // the close box), or -1 if it could not be shown.
    INT_PTR ShowModal(HWND owner);

    // The program file whose build number the version line shows; empty:
    // the running executable.
    std::wstring executablePath;

    // The panel and the icon, in client pixels at 96 DPI.
    static constexpr RECT kPanel{8, 8, 8 + 281, 8 + 121};
    static constexpr RECT kIcon{8 + 16, 8 + 16, 8 + 16 + 33, 8 + 16 + 33};

    // The icon shown (a copy of the application's); null before it opens.
    HICON ProgramIcon() const noexcept { return programIcon_.get(); }
    // The panel as shown: at the box's DPI, around every label.
    const RECT& PanelRect() const noexcept { return panel_; }

protected:
    bool OnInitDialog() override;
    INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    // Takes the icon and completes the version line.
    void FormCreate();

private:
    // The controls, their font, the panel and the box's size at `dpi`.
    void Layout(int dpi);
    void Paint();
    void PlaceOnScreen();
    ui::UniqueFont font_;
    ui::UniqueIcon programIcon_;
    RECT panel_ = kPanel;
    RECT icon_ = kIcon;
};

// The display of the active window, when there is one.
std::optional<dialogs::Display> ActiveWindowDisplay();
