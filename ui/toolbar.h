// The tool bar's buttons: a flat tool bar whose buttons send their command id
// to the parent like menu items, with their hints shown as tool tips.
#pragma once
#include "ui/control.h"
#include "ui/handles.h"

#include <string>
#include <vector>

namespace ui {

class ToolBar : public Control {
public:
    // Buttons are `buttonSize` pixels square.
    bool Create(HWND parent, int buttonSize);
    // Adds a button showing a bitmap resource of the program.
    void AddButton(UINT commandId, int bitmapResource, const wchar_t* hint);
    void AddGap(int width);
    void SetEnabled(UINT commandId, bool enabled) noexcept;
    bool IsEnabled(UINT commandId) const noexcept;
    // Button rectangle in the bar's client coordinates.
    RECT ButtonRect(UINT commandId) const noexcept;
    const wchar_t* Hint(UINT commandId) const noexcept;

protected:
    bool Reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    struct Button {
        UINT id;
        const wchar_t* hint;
    };
    std::vector<Button> buttons_;
    UniqueImageList images_;
    int buttonSize_ = 24;
};

} // namespace ui
