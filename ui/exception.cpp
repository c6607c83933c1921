#include "ui/exception.h"

#include "ui/text.h"
#include "res/texts.h"

#include <new>

namespace ui {
namespace {
ExceptionSink& Sink()
{
    static ExceptionSink sink;
    return sink;
}
} // namespace

Exception::Exception(std::wstring message)
    : message_(std::move(message)), narrow_(ToUtf8(message_))
{
}

std::wstring CurrentExceptionMessage()
{
    try {
        throw;
    } catch (const Exception& e) {
        return e.Message();
    } catch (const std::bad_alloc&) {
        return texts::OutOfMemory;
    } catch (const std::exception& e) {
        return FromUtf8(e.what());
    } catch (...) {
        return texts::UnknownError;
    }
}

void ShowCurrentException(HWND owner) noexcept
{
    try {
        std::wstring message = CurrentExceptionMessage();
        if (Sink()) {
            Sink()(message);
            return;
        }
        MessageBoxW(owner, message.c_str(), texts::AppTitle, MB_OK | MB_ICONERROR);
    } catch (...) {
        // Nothing more can be said; the program goes on.
    }
}

void SetExceptionSink(ExceptionSink sink) { Sink() = std::move(sink); }

} // namespace ui
