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

private:
    bool Dispatch(MSG& msg);
    std::wstring title_;
    IdleHandler idle_;
    HWND main_ = nullptr;
    HACCEL accelerators_ = nullptr;
};

} // namespace ui
