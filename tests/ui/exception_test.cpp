#include "ui/exception.h"
#include "ui/text.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

struct SinkCapture {
    std::vector<std::wstring> messages;
    SinkCapture()
    {
        ui::SetExceptionSink([this](const std::wstring& m) { messages.push_back(m); });
    }
    ~SinkCapture() { ui::SetExceptionSink({}); }
};

TEST(Exception, GuardedShowsTheMessageAndReturnsTheFallback)
{
    SinkCapture sink;
    int r = ui::Guarded(nullptr, -7, []() -> int { throw ui::Exception(L"壊れた"); });
    EXPECT_EQ(r, -7);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0], L"壊れた");

    ui::Guarded(nullptr, [] { throw std::runtime_error("plain"); });
    ASSERT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(sink.messages[1], L"plain");
}

TEST(Text, ExtensionAndCodePage932)
{
    EXPECT_EQ(ui::ExtractFileExt(L"C:\\a.b\\piano.ANI"), L".ANI");
    EXPECT_EQ(ui::ExtractFileExt(L"C:\\a.b\\cur"), L"");
    EXPECT_EQ(ui::ExtractFileExt(L"C:x"), L"");
    // Two double-byte characters, then the access key: "(&N)" starts at byte 5.
    EXPECT_EQ(ui::ToCodePage(L"送る(&N)", ui::CodePageJapanese).find("(&N)"), 4u);
    EXPECT_EQ(ui::LowerCase(L"C:\\Cursors\\Busy.CUR"), L"c:\\cursors\\busy.cur");
}

} // namespace
