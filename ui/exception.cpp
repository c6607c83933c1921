#include "ui/exception.h"

#include "ui/text.h"

#include <new>
#include <utility>

namespace ui {
namespace {
ExceptionSink& Sink()
{
    static ExceptionSink sink;
    return sink;
}

ExceptionTexts& Texts()
{
    static ExceptionTexts texts;
    return texts;
}
} // namespace

void SetExceptionTexts(ExceptionTexts texts) { Texts() = std::move(texts); }

const ExceptionTexts& CurrentExceptionTexts() noexcept { return Texts(); }

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
        return Texts().outOfMemory;
    } catch (const std::exception& e) {
        return FromUtf8(e.what());
    } catch (...) {
        return Texts().unknownError;
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
        MessageBoxW(owner, message.c_str(), Texts().caption.c_str(), MB_OK | MB_ICONERROR);
    } catch (...) {
        // Nothing more can be said; the program goes on.
    }
}

void SetExceptionSink(ExceptionSink sink) { Sink() = std::move(sink); }

} // namespace ui
