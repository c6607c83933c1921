#include "ui/toolbar.h"

#include "ui/dpi_scale.h"

namespace ui {

namespace {

constexpr COLORREF kSilver = RGB(0xC0, 0xC0, 0xC0);

UniqueBitmap LoadPicture(int resource)
{
    return UniqueBitmap(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource),
                                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

int WidthOf(HBITMAP bitmap)
{
    BITMAP info{};
    return bitmap && GetObjectW(bitmap, sizeof(info), &info) ? int(info.bmWidth) : 0;
}

// A copy of `source` `size` pixels square, smoothed.
UniqueBitmap Resized(HBITMAP source, int size)
{
    BITMAP info{};
    GetObjectW(source, sizeof(info), &info);
    HDC screen = GetDC(nullptr);
    UniqueBitmap result(CreateCompatibleBitmap(screen, size, size));
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    {
        SelectedObject fromSource(from, source), toResult(to, result.get());
        SetStretchBltMode(to, HALFTONE);
        SetBrushOrgEx(to, 0, 0, nullptr);
        StretchBlt(to, 0, 0, size, size, from, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    }
    DeleteDC(from);
    DeleteDC(to);
    ReleaseDC(nullptr, screen);
    return result;
}

} // namespace

int NearestPicture(const std::vector<int>& sizes, int size) noexcept
{
    int best = -1;
    for (int i = 0; i < int(sizes.size()); ++i) {
        if (sizes[i] <= 0)
            continue;
        if (best < 0) {
            best = i;
            continue;
        }
        const bool fits = sizes[i] >= size, bestFits = sizes[best] >= size;
        if ((fits && (!bestFits || sizes[i] < sizes[best])) || (!fits && !bestFits && sizes[i] > sizes[best]))
            best = i;
    }
    return best;
}

bool ToolBar::Create(HWND parent, int buttonSize, int indent, int dpi)
{
    buttonSize_ = buttonSize;
    indent_ = indent;
    if (!CreateControl(TOOLBARCLASSNAMEW,
                       WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE |
                           CCS_NOPARENTALIGN,
                       0, parent))
        return false;
    SendMessageW(Handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(Handle(), TB_SETPADDING, 0, MAKELPARAM(0, 0));
    SetDpi(dpi);
    // The tool tip asks the bar's parent for each hint on the bar's behalf.
    AdoptNotifications(reinterpret_cast<HWND>(SendMessageW(Handle(), TB_GETTOOLTIPS, 0, 0)));
    return true;
}

void ToolBar::SetDpi(int dpi)
{
    dpi_ = dpi;
    scaledButton_ = Scale(buttonSize_, dpi);
    std::vector<bool> enabled;
    for (const Item& item : items_)
        enabled.push_back(item.id == 0 || IsEnabled(item.id));
    while (SendMessageW(Handle(), TB_BUTTONCOUNT, 0, 0) > 0)
        if (!SendMessageW(Handle(), TB_DELETEBUTTON, 0, 0))
            break;
    UniqueImageList old = std::move(images_);
    images_.reset(ImageList_Create(scaledButton_, scaledButton_, ILC_COLOR24 | ILC_MASK, 4, 4));
    SendMessageW(Handle(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.get()));
    SendMessageW(Handle(), TB_SETBITMAPSIZE, 0, MAKELPARAM(scaledButton_, scaledButton_));
    SendMessageW(Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(scaledButton_, scaledButton_));
    SendMessageW(Handle(), TB_SETINDENT, Scale(indent_, dpi), 0);
    for (const Item& item : items_)
        Insert(item);
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].id)
            SetEnabled(items_[i].id, enabled[i]);
}

int ToolBar::AddPicture(const std::vector<int>& resources)
{
    std::vector<UniqueBitmap> bitmaps;
    std::vector<int> widths;
    for (int resource : resources) {
        bitmaps.push_back(LoadPicture(resource));
        widths.push_back(WidthOf(bitmaps.back().get()));
    }
    int pick = NearestPicture(widths, scaledButton_);
    if (pick < 0)
        return I_IMAGENONE;
    HBITMAP shown = bitmaps[std::size_t(pick)].get();
    UniqueBitmap resized;
    if (widths[std::size_t(pick)] != scaledButton_) {
        resized = Resized(shown, scaledButton_);
        shown = resized.get();
    }
    // The bitmaps' silver background shows the bar through.
    return ImageList_AddMasked(images_.get(), shown, kSilver);
}

void ToolBar::Insert(const Item& item)
{
    TBBUTTON b{};
    if (item.id == 0) {
        b.iBitmap = Scale(item.gap, dpi_);
        b.fsStyle = BTNS_SEP;
    } else {
        b.iBitmap = AddPicture(item.pictures);
        b.idCommand = int(item.id);
        b.fsState = TBSTATE_ENABLED;
        b.fsStyle = BTNS_BUTTON;
        b.iString = -1;
    }
    SendMessageW(Handle(), TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&b));
    SendMessageW(Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(scaledButton_, scaledButton_));
}

void ToolBar::AddButton(UINT commandId, std::initializer_list<int> bitmapResources, const wchar_t* hint)
{
    Item item{commandId, std::vector<int>(bitmapResources), hint, 0};
    Insert(item);
    items_.push_back(std::move(item));
}

void ToolBar::AddGap(int width)
{
    Item item{0, {}, nullptr, width};
    Insert(item);
    items_.push_back(std::move(item));
}

void ToolBar::SetEnabled(UINT commandId, bool enabled) noexcept
{
    SendMessageW(Handle(), TB_ENABLEBUTTON, commandId, MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

bool ToolBar::IsEnabled(UINT commandId) const noexcept
{
    return SendMessageW(Handle(), TB_ISBUTTONENABLED, commandId, 0) != 0;
}

RECT ToolBar::ButtonRect(UINT commandId) const noexcept
{
    RECT r{};
    SendMessageW(Handle(), TB_GETRECT, commandId, reinterpret_cast<LPARAM>(&r));
    return r;
}

const wchar_t* ToolBar::Hint(UINT commandId) const noexcept
{
    for (const auto& b : items_)
        if (b.id == commandId)
            return b.hint;
    return nullptr;
}

bool ToolBar::Reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    Control::Reflected(msg, wp, lp, result);
    if (msg != WM_NOTIFY)
        return false;
    auto* hdr = reinterpret_cast<NMHDR*>(lp);
    if (hdr->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lp);
        if (const wchar_t* hint = Hint(UINT(hdr->idFrom))) {
            info->lpszText = const_cast<wchar_t*>(hint);
            info->hinst = nullptr;
            result = 0;
            return true;
        }
    }
    return false;
}

} // namespace ui
