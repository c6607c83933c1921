// The application object: its title, the message loop with its accelerators
// and the idle hook (run whenever the message queue has become empty).
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace ui {

class Application {
public:
    static Application& Instance();

    void SetTitle(std::wstring title) { title_ = std::move(title); }
    const std::wstring& Title() const noexcept { return title_; }

    // The idle handler gets `done` as true; setting it false asks to be called
    // again at once instead of waiting for the next message.
    using IdleHandler = std::function<void(bool& done)>;
    void SetIdleHandler(IdleHandler handler) { idle_ = std::move(handler); }
    // Runs the idle handler once, as the loop does (tests call it directly).
    bool DoIdle();

    // Runs the message loop until WM_QUIT; keyboard accelerators go to `main`.
    int Run(HWND main, HACCEL accelerators);
    // The loop's accelerators for one message: TranslateAcceleratorW, except
    // for a key meant for an edit box, which keeps its keys. True when taken.
    static bool Accelerate(HWND main, HACCEL accelerators, MSG& msg);

    // Translates and dispatches one message, noted as the one this thread's
    // loop is dispatching until its handler returns. The program's loop and
    // the tests' pumps dispatch through it; the system's own loops (menus,
    // boxes, shell dialogs, drags) do not.
    // (Inline, so that the tests' pumps need nothing else of this library.)
    static void DispatchNoted(const MSG& msg)
    {
        struct Note {
            const MSG* outer;
            explicit Note(const MSG& msg) : outer(dispatching_) { dispatching_ = &msg, ++depth_; }
            ~Note() { dispatching_ = outer, --depth_; }
        } note(msg);
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    // How many noted dispatches are under way (the user-interface thread's).
    static int DispatchDepth() noexcept { return depth_; }
    // True when a handler of `message` for `window` runs inside the dispatch
    // of some other message: a loop of the system's own (a menu, a box, a
    // drag, a shell dialog) has handed it over. Outside any noted dispatch
    // (a direct call) it is false.
    static bool InsideOtherDispatch(HWND window, UINT message) noexcept
    {
        return dispatching_ && !(dispatching_->hwnd == window && dispatching_->message == message);
    }

private:
    bool Dispatch(MSG& msg);
    // The innermost noted dispatch and how many there are.
    static inline const MSG* dispatching_ = nullptr;
    static inline int depth_ = 0;
    std::wstring title_;
    IdleHandler idle_;
    HWND main_ = nullptr;
    HACCEL accelerators_ = nullptr;
};

} // namespace ui
