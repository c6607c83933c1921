#include "scheme/error_box.h"

#include "res/texts.h"

#include <utility>

namespace scheme {
namespace {
ErrorSink& Sink()
{
    static ErrorSink sink;
    return sink;
}
} // namespace

void ShowError(HWND owner, const std::wstring& text)
{
    if (Sink()) {
        Sink()(owner, text);
        return;
    }
    MessageBoxW(owner, text.c_str(), texts::ErrorCaption, MB_OK | MB_ICONERROR);
}

ErrorSink SetErrorSink(ErrorSink sink) { return std::exchange(Sink(), std::move(sink)); }

} // namespace scheme
