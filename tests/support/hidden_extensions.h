// Makes the shell hide the extensions of registered file types (as a stock
// Windows system does) while the object lives, then restores the setting.
#pragma once
#include <windows.h>

namespace testsupport {

class ScopedHiddenExtensions {
public:
    explicit ScopedHiddenExtensions(bool hide = true);
    ~ScopedHiddenExtensions();
    ScopedHiddenExtensions(const ScopedHiddenExtensions&) = delete;
    ScopedHiddenExtensions& operator=(const ScopedHiddenExtensions&) = delete;

private:
    bool had_ = false;
    DWORD old_ = 0;
};

} // namespace testsupport
