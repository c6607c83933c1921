// The tool bar's buttons: a flat tool bar whose buttons send their command id
// to the parent like menu items, with their hints shown as tool tips. Sizes
// are given at 96 DPI and shown at the bar's DPI; each picture comes in
// several sizes, and the bar shows the one made for its size.
#pragma once
#include "ui/control.h"
#include "ui/handles.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace ui {

class ToolBar : public Control {
public:
    // Buttons are `buttonSize` pixels square, the first `indent` pixels from
    // the left edge (both at 96 DPI), shown at `dpi`.
    bool Create(HWND parent, int buttonSize, int indent = 2, int dpi = 96);
    // Adds a button showing a picture given as bitmap resources of the
    // program, one per size (any order).
    void AddButton(UINT commandId, std::initializer_list<int> bitmapResources, const wchar_t* hint);
    void AddButton(UINT commandId, int bitmapResource, const wchar_t* hint)
    {
        AddButton(commandId, {bitmapResource}, hint);
    }
    // A gap of `width` pixels at 96 DPI.
    void AddGap(int width);
    // Shows the bar at another DPI: buttons, gaps and pictures in their new sizes.
    void SetDpi(int dpi);
    int ButtonSize() const noexcept { return scaledButton_; }
    void SetEnabled(UINT commandId, bool enabled) noexcept;
    bool IsEnabled(UINT commandId) const noexcept;
    // Button rectangle in the bar's client coordinates.
    RECT ButtonRect(UINT commandId) const noexcept;
    const wchar_t* Hint(UINT commandId) const noexcept;

protected:
    bool Reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    struct Item {
        UINT id = 0; // 0 for a gap
        std::vector<int> pictures;
        const wchar_t* hint = nullptr;
        int gap = 0;
    };
    void Insert(const Item& item);
    int AddPicture(const std::vector<int>& resources);
    std::vector<Item> items_;
    UniqueImageList images_;
    int buttonSize_ = 24;
    int indent_ = 2;
    int dpi_ = 96;
    int scaledButton_ = 24;
};

// Of bitmaps `sizes` pixels wide, the one to show at `size`: the smallest not
// smaller, else the largest. -1 for none. Window-free.
int NearestPicture(const std::vector<int>& sizes, int size) noexcept;

} // namespace ui
