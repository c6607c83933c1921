// The program's own error box.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace scheme {

// A modal box owned by `owner` with the caption "エラー", the error icon and
// one OK button; returns when it is closed.
void ShowError(HWND owner, const std::wstring& text);

// Test seam: while a sink is set, ShowError hands its arguments to the sink
// and shows no box. Returns the sink that was set before.
using ErrorSink = std::function<void(HWND owner, const std::wstring& text)>;
ErrorSink SetErrorSink(ErrorSink sink);

// Sets a sink for the life of the object and puts the previous one back.
class ScopedErrorSink {
public:
    explicit ScopedErrorSink(ErrorSink sink) : previous_(SetErrorSink(std::move(sink))) {}
    ~ScopedErrorSink() { SetErrorSink(std::move(previous_)); }
    ScopedErrorSink(const ScopedErrorSink&) = delete;
    ScopedErrorSink& operator=(const ScopedErrorSink&) = delete;

private:
    ErrorSink previous_;
};

} // namespace scheme
