#include "app/startup.h"

#include "scheme/error_box.h"
#include "ui/exception.h"

namespace {
constexpr wchar_t kWindowNotMade[] = L"メインウィンドウを作成できないため、タリモクを終了します。";
} // namespace

std::wstring StartupFailureText(const std::wstring& reason)
{
    std::wstring text = kWindowNotMade;
    if (!reason.empty())
        text += L"\n\n" + reason;
    return text;
}

bool StartMainWindow(TfrmTarimoku& form, const std::vector<std::wstring>& arguments)
{
    bool made = false;
    std::wstring reason;
    try {
        made = form.Create();
    } catch (...) {
        reason = ui::CurrentExceptionMessage();
    }
    if (!made) {
        // No owner: the window, if any, is hidden and half made.
        scheme::ShowError(nullptr, StartupFailureText(reason));
        return false;
    }
    ui::Guarded(form.Handle(), [&] { form.OpenCommandLineFolder(arguments); });
    return true;
}
