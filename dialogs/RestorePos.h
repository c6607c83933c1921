// Keeps a form's position and size in the current user's registry: read and
// applied once the form's window exists, written when the window goes.
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

    // The owner's window now exists (before it is first shown): restores.
    void Loaded(HWND owner);
    // Reads the stored placement and applies it to the owner in one
    // move-and-resize, brought onto the nearest display. Nothing happens
    // without an owner window or a stored value.
    void Restore();
    // Writes the owner's bounds. Answers false when the registry could not be
    // written (true when written, or when there is nothing to write to).
    bool Save() noexcept;

    HWND Owner() const noexcept { return owner_; }

private:
    std::wstring registryKey_;
    std::wstring registryName_;
    bool restorePending_ = true;
    HWND owner_ = nullptr;
};

// The outer bounds of a window; for a minimised window, those it has when restored.
dialogs::Bounds WindowBounds(HWND window);
