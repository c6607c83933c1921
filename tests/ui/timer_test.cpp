// A timer whose tick fails: one message at a time, the timer waiting while
// it is shown, and what happens to the timer while the message is up; for a
// window's timer and for a thread timer (no window) alike.
#include "tests/support/wine_ui.h"
#include "ui/exception.h"
#include "ui/timer.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

TEST(Timer, AFailingTickShowsOneMessageAtATimeAndTheTimerWaitsForIt)
{
    enum class InBox { Nothing, Stop, Restart, Destroy };
    struct Row {
        const char* name;
        InBox inBox;
        bool ticksAfter;  // the failing tick runs again after the box
        bool running;     // the timer runs at the end
    };
    const Row rows[] = {
        {"box closed: resumes", InBox::Nothing, true, true},
        {"stopped meanwhile: stays stopped", InBox::Stop, false, false},
        {"restarted meanwhile: runs the new tick", InBox::Restart, false, true},
        {"destroyed meanwhile", InBox::Destroy, false, false},
    };
    HWND window = testsupport::CreateHostWindow(L"timer");
    ASSERT_TRUE(window);
    for (HWND host : {window, HWND{}}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.name);
            SCOPED_TRACE(host ? "window timer" : "thread timer");
            auto timer = std::make_unique<ui::Timer>();
            int ticks = 0, newTicks = 0, boxes = 0, open = 0, deepest = 0, ticksWhileOpen = 0;
            ui::SetExceptionSink([&](const std::wstring&) {
                ++boxes;
                deepest = std::max(deepest, ++open);
                int before = ticks;
                if (boxes == 1) {
                    if (row.inBox == InBox::Stop)
                        timer->Stop();
                    if (row.inBox == InBox::Restart)
                        timer->Start(host, 9, 10, [&] { ++newTicks; });
                    if (row.inBox == InBox::Destroy)
                        timer.reset();
                }
                // The box's own message loop: ticks would be dispatched here.
                testsupport::PumpFor(150);
                ticksWhileOpen += ticks - before;
                --open;
            });
            ASSERT_TRUE(timer->Start(host, 9, 10, [&] {
                ++ticks;
                throw ui::Exception(L"tick failed");
            }));
            DWORD start = GetTickCount();
            while (GetTickCount() - start < 2000 && (row.ticksAfter ? boxes < 3 : boxes < 1))
                testsupport::PumpFor(20);
            testsupport::PumpFor(100);
            ui::SetExceptionSink({});

            EXPECT_EQ(deepest, 1) << "boxes nested";
            EXPECT_EQ(ticksWhileOpen, 0);
            if (row.ticksAfter) {
                EXPECT_GE(boxes, 3);
                EXPECT_EQ(boxes, ticks);
            } else {
                EXPECT_EQ(boxes, 1);
                EXPECT_EQ(ticks, 1);
            }
            EXPECT_EQ(timer && timer->Running(), row.running);
            if (row.inBox == InBox::Restart) {
                EXPECT_GT(newTicks, 0);
            }
            if (timer) {
                EXPECT_FALSE(timer->Failing());
            }
        }
    }
    DestroyWindow(window);
}

} // namespace
