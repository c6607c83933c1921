#include "tests/support/wine_ui.h"
#include "ui/exception.h"
#include "ui/listview.h"
#include "ui/text.h"
#include "ui/timer.h"
#include "ui/window.h"

#include <gtest/gtest.h>

#include <iterator>
#include <new>
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

TEST(Exception, WithoutAMessageOfItsOwnTheTextsTheProgramHandedAreShown)
{
    const ui::ExceptionTexts saved = ui::CurrentExceptionTexts();
    ui::SetExceptionTexts({L"題", L"足りない", L"わからない"});
    SinkCapture sink;
    struct Row {
        void (*thrower)();
        const wchar_t* shown;
    };
    const Row rows[] = {
        {[] { throw std::bad_alloc(); }, L"足りない"},
        {[] { throw 42; }, L"わからない"},
        {[] { throw ui::Exception(L"自分の言葉"); }, L"自分の言葉"},
    };
    for (const Row& row : rows)
        ui::Guarded(nullptr, row.thrower);
    ui::SetExceptionTexts(saved);
    ASSERT_EQ(sink.messages.size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(sink.messages[i], rows[i].shown) << i;
    EXPECT_EQ(ui::CurrentExceptionTexts().caption, saved.caption);
}

// A window whose handler throws on a private message.
class ThrowingWindow : public ui::Window {
public:
    bool Create()
    {
        return CreateWindowOf(ClassInfo{L"TarimokuTestThrowing"}, 0, L"throws", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                              nullptr, nullptr);
    }
    int handled = 0;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg == WM_APP)
            throw ui::Exception(L"ハンドラで失敗しました");
        if (msg == WM_APP + 1) {
            ++handled;
            return 42;
        }
        return DefaultHandling(msg, wp, lp);
    }
};

TEST(Exception, ThrownInAWindowHandlerIsShownAndTheProgramGoesOn)
{
    SinkCapture sink;
    ThrowingWindow w;
    ASSERT_TRUE(w.Create());
    EXPECT_EQ(SendMessageW(w.Handle(), WM_APP, 0, 0), 0);
    PostMessageW(w.Handle(), WM_APP, 0, 0); // through the message loop too
    testsupport::PumpUntilIdle();
    ASSERT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(sink.messages[0], L"ハンドラで失敗しました");
    // The window is alive and answers the next message.
    EXPECT_TRUE(IsWindow(w.Handle()));
    EXPECT_EQ(SendMessageW(w.Handle(), WM_APP + 1, 0, 0), 42);
    EXPECT_EQ(w.handled, 1);
}

TEST(Exception, ThrownInATimerProcedureIsShownAndTheTimerGoesOn)
{
    SinkCapture sink;
    ThrowingWindow w;
    ASSERT_TRUE(w.Create());
    ui::Timer timer;
    int ticks = 0;
    timer.Start(w.Handle(), 1, 10, [&] {
        ++ticks;
        throw std::runtime_error("tick failed");
    });
    DWORD start = GetTickCount();
    while (ticks < 3 && GetTickCount() - start < 3000)
        testsupport::PumpFor(20);
    timer.Stop();
    EXPECT_GE(ticks, 3);
    EXPECT_EQ(sink.messages.size(), std::size_t(ticks));
}

// A control whose reflected notifications throw.
class ThrowingList : public ui::ListView {
protected:
    bool Reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override
    {
        ui::ListView::Reflected(msg, wp, lp, result);
        if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == LVN_DELETEITEM)
            throw ui::Exception(L"reflected");
        return false;
    }
};

TEST(Exception, ThrownInAReflectedNotificationIsShown)
{
    SinkCapture sink;
    HWND host = testsupport::CreateHostWindow();
    {
        ThrowingList list;
        ASSERT_TRUE(list.Create(host, LVS_REPORT));
        list.AddItem(L"a", 0, 0);
        list.DeleteAllItems();
        EXPECT_EQ(list.Count(), 0);
    }
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0], L"reflected");
    DestroyWindow(host);
}

TEST(Text, FileExtensionFromTheLastDotWithoutSeparatorAfterIt)
{
    const struct {
        std::wstring_view name, extension;
    } rows[] = {
        {L"C:\\a.b\\piano.ANI", L".ANI"},
        {L"C:\\dir\\file.tar.gz", L".gz"},
        {L"C:\\a.b\\cur", L""},
        {L"cur", L""},
        {L"C:\\dir\\trailing.", L"."},
        {L"a.b:stream", L""},
        {L"C:x", L""},
        {L"", L""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ui::FileExtension(row.name), row.extension) << testing::PrintToString(std::wstring(row.name));
}

TEST(Text, DriveRootOfALetterPathOnly)
{
    const struct {
        std::wstring_view path, root;
    } rows[] = {
        {L"C:\\Windows\\Cursors\\aero_busy.ani", L"C:\\"},
        {L"d:/cursors/a.cur", L"d:\\"},
        {L"\\\\?\\E:\\deep\\a.cur", L"E:\\"},
        {L"\\\\server\\share\\a.cur", L""},
        {L"\\\\?\\UNC\\server\\share\\a.cur", L""},
        {L"C:relative.cur", L""},
        {L"cursors\\a.cur", L""},
        {L"1:\\a.cur", L""},
        {L"C:", L""},
        {L"", L""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ui::DriveRoot(row.path), row.root) << testing::PrintToString(std::wstring(row.path));
}

TEST(Text, UpToNullCutsAtTheFirstNulOnly)
{
    using namespace std::string_view_literals;
    EXPECT_EQ(ui::UpToNull(L"C:\\a.cur\0junk\0"sv), L"C:\\a.cur");
    EXPECT_EQ(ui::UpToNull(L"\0tail"sv), L"");
    EXPECT_EQ(ui::UpToNull(L"whole"sv), L"whole");
    EXPECT_EQ(ui::UpToNull(L""sv), L"");
    // A view of a buffer the system filled is cut, never read past its end.
    const wchar_t filled[4] = {L'a', L'b', L'c', L'd'};
    EXPECT_EQ(ui::UpToNull({filled, 4}), L"abcd");
}

TEST(Text, CodePage932AndLowerCase)
{
    // Two double-byte characters, then the access key: "(&N)" starts at byte 5.
    EXPECT_EQ(ui::ToCodePage(L"送る(&N)", ui::kCodePageJapanese).find("(&N)"), 4u);
    EXPECT_EQ(ui::LowerCase(L"C:\\Cursors\\Busy.CUR"), L"c:\\cursors\\busy.cur");
}

} // namespace
