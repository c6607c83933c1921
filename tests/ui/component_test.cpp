#include "ui/application.h"
#include "ui/component.h"
#include "ui/screen_cursor.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Target : ui::Component {
    int value = 7;
};

struct Holder : ui::Component {
    ui::Link<Target> target;
    int removedCalls = 0;
    Holder() { target.OnRemoved([this] { ++removedCalls; }); }
};

TEST(Component, LinkClearsItselfWhenTheTargetGoes)
{
    Holder holder;
    {
        Target t;
        holder.target = &t;
        ASSERT_TRUE(holder.target);
        EXPECT_EQ(holder.target->value, 7);
    }
    EXPECT_FALSE(holder.target);
    EXPECT_EQ(holder.removedCalls, 1);
}

TEST(Component, RelinkingAndHolderDestructionLeaveNoDanglingLink)
{
    auto a = std::make_unique<Target>();
    auto b = std::make_unique<Target>();
    auto holder = std::make_unique<Holder>();
    holder->target = a.get();
    holder->target = b.get(); // a no longer knows the link
    holder->target = b.get(); // setting the same target twice registers once
    a.reset();
    EXPECT_EQ(holder->target.get(), b.get()) << "the old target's end reached the link";
    EXPECT_EQ(holder->removedCalls, 0);

    // b's end clears the link once, however often it was set.
    Holder second;
    second.target = b.get();
    second.target = b.get();
    b.reset();
    EXPECT_FALSE(holder->target);
    EXPECT_FALSE(second.target);
    EXPECT_EQ(holder->removedCalls, 1);
    EXPECT_EQ(second.removedCalls, 1);

    // The link goes before its target: the target's end must not reach it
    // (ASan would see the freed link) and nothing else is told.
    auto c = std::make_unique<Target>();
    second.target = c.get();
    holder->target = c.get();
    holder.reset();
    c.reset();
    EXPECT_FALSE(second.target);
    EXPECT_EQ(second.removedCalls, 2);
}

TEST(Component, ManyLinksToOneTargetAllClear)
{
    auto t = std::make_unique<Target>();
    Holder h1, h2, h3;
    h1.target = t.get();
    h2.target = t.get();
    h3.target = t.get();
    h2.target = nullptr;
    t.reset();
    EXPECT_FALSE(h1.target);
    EXPECT_FALSE(h3.target);
    EXPECT_EQ(h1.removedCalls + h2.removedCalls + h3.removedCalls, 2);
}

struct Receiver {
    int got = 0;
    void Handle(ui::Component*, int v) { got += v; }
};

TEST(Component, EventsSkipWhenUnsetAndCallTheBoundReceiver)
{
    ui::Event<ui::Component*, int> e;
    EXPECT_FALSE(e);
    e(nullptr, 3); // unset: nothing happens
    Receiver r;
    e = ui::Bind(&r, &Receiver::Handle);
    e(nullptr, 3);
    e(nullptr, 4);
    EXPECT_EQ(r.got, 7);
    e = nullptr;
    e(nullptr, 100);
    EXPECT_EQ(r.got, 7);
}

TEST(Application, IdleHandlerAsksToBeCalledAgainUntilDone)
{
    auto& app = ui::Application::Instance();
    int calls = 0;
    app.SetIdleHandler([&](bool& done) {
        ++calls;
        done = calls >= 3;
    });
    EXPECT_FALSE(app.DoIdle());
    EXPECT_FALSE(app.DoIdle());
    EXPECT_TRUE(app.DoIdle());
    app.SetIdleHandler({});
    EXPECT_TRUE(app.DoIdle());
    EXPECT_EQ(calls, 3);
}

TEST(ScreenCursor, ScopesNestAndRestore)
{
    EXPECT_EQ(ui::ScreenCursor::Current(), nullptr);
    {
        ui::ScopedScreenCursor wait(IDC_WAIT);
        EXPECT_EQ(ui::ScreenCursor::Current(), IDC_WAIT);
        {
            ui::ScopedScreenCursor starting(IDC_APPSTARTING);
            EXPECT_EQ(ui::ScreenCursor::Current(), IDC_APPSTARTING);
        }
        EXPECT_EQ(ui::ScreenCursor::Current(), IDC_WAIT);
    }
    EXPECT_EQ(ui::ScreenCursor::Current(), nullptr);
    EXPECT_FALSE(ui::ScreenCursor::Apply());
}

} // namespace
