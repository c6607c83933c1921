#include "scheme/error_box.h"

#include "res/texts.h"
#include "ui/seams.h"

namespace scheme {

void ShowError(HWND owner, const std::wstring& text)
{
    if (auto& box = ui::CurrentSeams().messageBox)
        box(owner, text.c_str(), texts::ErrorCaption, MB_OK | MB_ICONERROR);
}

} // namespace scheme
