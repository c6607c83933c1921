// The program's exception type and the top-level handling of exceptions that
// reach a window procedure, timer procedure, dialog procedure or COM method.
#pragma once
#include <windows.h>
#include <exception>
#include <functional>
#include <string>

namespace ui {

// Base of the program's own exceptions: carries a message for the user.
class Exception : public std::exception {
public:
    explicit Exception(std::wstring message);
    const std::wstring& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return narrow_.c_str(); }

private:
    std::wstring message_;
    std::string narrow_;
};

// What the top-level handler says when an exception carries no message of
// its own, and the caption of its box. The program hands its own at start-up;
// until then the texts are plain English.
struct ExceptionTexts {
    std::wstring caption = L"Error";
    std::wstring outOfMemory = L"Out of memory.";
    std::wstring unknownError = L"An unexpected error occurred.";
};
void SetExceptionTexts(ExceptionTexts texts);
const ExceptionTexts& CurrentExceptionTexts() noexcept;

// The message to show for whatever is being handled (call inside a catch).
std::wstring CurrentExceptionMessage();

// Shows the current exception's message in a box owned by `owner` (the
// application's top-level handler); the program keeps running. Call it inside
// a catch block only.
void ShowCurrentException(HWND owner) noexcept;

// Test seam: while set, messages go to the sink instead of a message box.
using ExceptionSink = std::function<void(const std::wstring& message)>;
void SetExceptionSink(ExceptionSink sink);

// Runs `body`; an exception is shown by the top-level handler and `fallback`
// is returned. For the boundaries where no exception may pass.
template <class R, class F>
R Guarded(HWND owner, R fallback, F&& body) noexcept
{
    try {
        return body();
    } catch (...) {
        ShowCurrentException(owner);
        return fallback;
    }
}

template <class F>
void Guarded(HWND owner, F&& body) noexcept
{
    try {
        body();
    } catch (...) {
        ShowCurrentException(owner);
    }
}

} // namespace ui
