// Keeps a form's position and size in the current user's registry: read and
// applied once the form's window exists, written when the window goes. The
// text holds the normal (restored) bounds in screen pixels, also for a window
// closed maximised; whether it was maximised is a value of its own beside it
// (<RegistryName>Maximized, "1" or "0"), so that the text stays as it was.
#pragma once
#include "dialogs/bounds_text.h"
#include "ui/component.h"

#include <windows.h>

#include <string>

class TRestorePos : public ui::Component {
public:
    // Where the placement lives: HKEY_CURRENT_USER\<RegistryKey>, value
    // <RegistryName>. A new text given while no stored placement has been
    // applied yet restores from the new place; the same text does nothing.
    const std::wstring& RegistryKey() const noexcept { return registryKey_; }
    void SetRegistryKey(const std::wstring& key);
    const std::wstring& RegistryName() const noexcept { return registryName_; }
    void SetRegistryName(const std::wstring& name);

    // True until a stored placement has been applied.
    bool RestorePending() const noexcept { return restorePending_; }
    // The value that tells whether the window was closed maximised.
    std::wstring MaximizedName() const { return registryName_ + L"Maximized"; }
    // How to show the owner first, given how the program was asked to show
    // it: maximised when it was closed so and the request is a plain show.
    int ShowCommand(int asked) const noexcept;

    // The owner's window now exists (before it is first shown): restores.
    void Loaded(HWND owner);
    // Reads the stored placement and applies it to the owner in one
    // move-and-resize, brought onto the nearest display. Nothing happens
    // without an owner window or a stored value.
    void Restore();
    // Writes the owner's normal bounds and whether it is maximised (or
    // minimised from maximised). Answers false when the registry could not be
    // written (true when written, or when there is nothing to write to).
    bool Save() noexcept;

    HWND Owner() const noexcept { return owner_; }

private:
    std::wstring registryKey_;
    std::wstring registryName_;
    bool restorePending_ = true;
    bool maximized_ = false; // as stored, once restored
    HWND owner_ = nullptr;
};

// The outer bounds of a window; for a minimised or maximised window, those it
// has when restored.
dialogs::Bounds WindowBounds(HWND window);
// Whether a window is maximised, or minimised and comes back maximised.
bool ShowsMaximized(HWND window);
